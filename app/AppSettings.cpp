#include "AppSettings.h"

#include "CubeFiles.h"
#include "EditCommands.h"
#include "ZelvorsCubeDlg.h"

#include <QAction>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>

namespace {

const QString kRecent = QStringLiteral("files/recent");
const QString kMarker = QStringLiteral("view/nextMoveMarker");
const QString kNotation = QStringLiteral("view/standardNotation");
const QString kSkipCentres = QStringLiteral("entry/cursorSkipsCentres");
const QString kMethod = QStringLiteral("solve/lastMethod");
const QString kGeometry = QStringLiteral("window/geometry");

// A switch written by the program: true or false, nothing else.
void ReadSwitch(const QSettings& settings, const QString& strKey, QAction* pAction)
{
    const QVariant v = settings.value(strKey);
    if (!pAction || !v.isValid())
        return;
    const QString s = v.toString();
    if (s == QLatin1String("true"))
        pAction->setChecked(true);
    else if (s == QLatin1String("false"))
        pAction->setChecked(false);
}

// The window's frame, where it is whole on one of the screens.
void ReadGeometry(const QSettings& settings, CZelvorsCubeDlg& dlg)
{
    const QVariant v = settings.value(kGeometry);
    if (v.typeId() != QMetaType::QRect)
        return;
    const QRect rc = v.toRect();
    if (rc.width() < dlg.minimumWidth() || rc.height() < dlg.minimumHeight() || rc.width() > 20000 ||
        rc.height() > 20000)
        return;
    for (const QScreen* pScreen : QGuiApplication::screens())
        if (pScreen->availableGeometry().contains(rc)) {
            dlg.setGeometry(rc);
            return;
        }
}

} // namespace

namespace AppSettings {

std::unique_ptr<QSettings> OpenProgramSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZelvorsCube"),
                                       QStringLiteral("ZelvorsCube"));
}

void Restore(QSettings& settings, CZelvorsCubeDlg& dlg)
{
    if (settings.status() != QSettings::NoError)
        return;
    const QVariant recent = settings.value(kRecent);
    if (recent.typeId() == QMetaType::QStringList || recent.typeId() == QMetaType::QString)
        dlg.Files().SetRecentFiles(recent.toStringList());
    ReadSwitch(settings, kMarker, dlg.m_pMarkerAction);
    ReadSwitch(settings, kNotation, dlg.m_pNotationAction);
    ReadSwitch(settings, kSkipCentres, dlg.Edit().m_pSkipCentresAction);
    const QString strMethod = settings.value(kMethod).toString();
    if (strMethod == QLatin1String("lbl") || strMethod == QLatin1String("short") ||
        strMethod == QLatin1String("optimal"))
        dlg.Files().SetLastMethod(strMethod);
    ReadGeometry(settings, dlg);
}

void Store(QSettings& settings, const CZelvorsCubeDlg& dlg)
{
    settings.setValue(kRecent, dlg.Files().RecentFiles());
    auto writeSwitch = [&settings](const QString& strKey, const QAction* pAction) {
        if (pAction)
            settings.setValue(strKey, pAction->isChecked() ? QStringLiteral("true") : QStringLiteral("false"));
    };
    writeSwitch(kMarker, dlg.m_pMarkerAction);
    writeSwitch(kNotation, dlg.m_pNotationAction);
    writeSwitch(kSkipCentres, dlg.Edit().m_pSkipCentresAction);
    if (!dlg.Files().LastMethod().isEmpty())
        settings.setValue(kMethod, dlg.Files().LastMethod());
    settings.setValue(kGeometry, dlg.geometry());
    settings.sync();
}

} // namespace AppSettings
