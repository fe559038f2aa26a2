#pragma once
// The progress bar as the model and the solver see it: four operations and
// the behaviour of the platform's control that they rely on.
//  - the step is 10 until SetStep is called;
//  - StepIt past the upper end starts again from the beginning of the range;
//  - SetPos clamps to the range.
// A shell derives from it and mirrors Pos() on screen in Changed(). Every
// caller in the model accepts a null pointer and then drives nothing.

class CProgressCtrl {
public:
    virtual ~CProgressCtrl() = default;

    void SetRange(int nLower, int nUpper);
    void SetPos(int nPos);
    void SetStep(int nStep);
    void StepIt();

    int Lower() const { return m_nLower; }
    int Upper() const { return m_nUpper; }
    int Pos() const { return m_nPos; }
    int Step() const { return m_nStep; }
    // How many times StepIt has been called since construction.
    long StepCount() const { return m_nStepCount; }

protected:
    // Called after every operation that may have changed the range or the position.
    virtual void Changed() {}

private:
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
    int m_nStep = 10;
    long m_nStepCount = 0;
};

// Null-safe forms used by the model and the solver.
inline void ProgressSetRange(CProgressCtrl* p, int nLower, int nUpper)
{
    if (p)
        p->SetRange(nLower, nUpper);
}
inline void ProgressSetPos(CProgressCtrl* p, int nPos)
{
    if (p)
        p->SetPos(nPos);
}
inline void ProgressSetStep(CProgressCtrl* p, int nStep)
{
    if (p)
        p->SetStep(nStep);
}
inline void ProgressStepIt(CProgressCtrl* p)
{
    if (p)
        p->StepIt();
}
