#include "ProgressBar.h"

CProgressBar::CProgressBar(QWidget* pParent) : QProgressBar(pParent)
{
    setTextVisible(false);
    Changed();
}

void CProgressBar::Changed()
{
    if (minimum() != Lower() || maximum() != Upper())
        setRange(Lower(), Upper());
    setValue(Pos());
}
