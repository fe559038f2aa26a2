#pragma once
// The options the program remembers between runs, kept with QSettings in an
// INI file under the program's own name (ZelvorsCube/ZelvorsCube.ini in the
// user's configuration folder), not under the organisation name the
// application object carries. The start state (the solved cube, the 3D view,
// Animate, speed 30) is never taken from it.
//
// A damaged file, or a value of the wrong kind or out of range, is ignored:
// what cannot be read keeps its default.

#include <QSettings>

#include <memory>

class CZelvorsCubeDlg;

namespace AppSettings {

// The program's settings file.
std::unique_ptr<QSettings> OpenProgramSettings();

// Reads the remembered options into the dialog (a damaged file changes nothing).
void Restore(QSettings& settings, CZelvorsCubeDlg& dlg);
// Writes them (at Exit).
void Store(QSettings& settings, const CZelvorsCubeDlg& dlg);

} // namespace AppSettings
