#include "platform/settings_store.h"

#include <QSettings>
#include <QString>

namespace {
const QString kOrganisation = QStringLiteral("KORMEL");
const QString kApplication = QStringLiteral("Wheelwatcher");
const QString kSystemKey = QStringLiteral("Settings/SYSTEM");
}  // namespace

std::string SettingsStore::ReadSystemText() const {
  const QSettings settings(kOrganisation, kApplication);
  return settings.value(kSystemKey, QStringLiteral("1")).toString().toStdString();
}

void SettingsStore::WriteSystemText(const std::string& text) {
  QSettings settings(kOrganisation, kApplication);
  settings.setValue(kSystemKey, QString::fromStdString(text));
  settings.sync();
}
