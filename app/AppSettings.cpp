#include "AppSettings.h"

#include "CubeFiles.h"
#include "ZelvorsCubeDlg.h"

namespace {

const QString kRecent = QStringLiteral("files/recent");

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
}

void Store(QSettings& settings, const CZelvorsCubeDlg& dlg)
{
    settings.setValue(kRecent, dlg.Files().RecentFiles());
    settings.sync();
}

} // namespace AppSettings
