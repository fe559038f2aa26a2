#include "ProgressCtrl.h"

void CProgressCtrl::SetRange(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper < nLower ? nLower : nUpper;
    if (m_nPos < m_nLower)
        m_nPos = m_nLower;
    if (m_nPos > m_nUpper)
        m_nPos = m_nUpper;
    Changed();
}

void CProgressCtrl::SetPos(int nPos)
{
    if (nPos < m_nLower)
        nPos = m_nLower;
    if (nPos > m_nUpper)
        nPos = m_nUpper;
    m_nPos = nPos;
    Changed();
}

void CProgressCtrl::SetStep(int nStep)
{
    m_nStep = nStep;
}

void CProgressCtrl::StepIt()
{
    ++m_nStepCount;
    const long span = static_cast<long>(m_nUpper) - m_nLower;
    long pos = static_cast<long>(m_nPos) + m_nStep;
    if (span <= 0) {
        pos = m_nLower;
    } else if (pos > m_nUpper) {
        pos = m_nLower + (pos - m_nLower) % span;
    } else if (pos < m_nLower) {
        pos = m_nUpper - (m_nLower - pos) % span;
    }
    m_nPos = static_cast<int>(pos);
    Changed();
}
