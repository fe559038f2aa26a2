#pragma once
// The application object: sets the program up and runs the main dialog
// modally; the program ends when the dialog ends.

#include <QApplication>

class CZelvorsCubeApp : public QApplication {
    Q_OBJECT

public:
    CZelvorsCubeApp(int& argc, char** argv);

    // Runs the main dialog; always false, so that no further loop follows.
    bool InitInstance();
};
