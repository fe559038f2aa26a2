#pragma once
// The dialog's progress bar: the core's progress interface shown on screen.

#include "ProgressCtrl.h"

#include <QProgressBar>

class CProgressBar : public QProgressBar, public CProgressCtrl {
    Q_OBJECT

public:
    explicit CProgressBar(QWidget* pParent = nullptr);

protected:
    void Changed() override;
};
