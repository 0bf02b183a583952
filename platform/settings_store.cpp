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
  const QVariant value = settings.value(kSystemKey, QStringLiteral("1"));
  // An unquoted comma in a hand-edited file makes the store read a list; keep the text as written.
  if (value.typeId() == QMetaType::QStringList) {
    return value.toStringList().join(QLatin1Char(',')).toStdString();
  }
  return value.toString().toStdString();
}

void SettingsStore::WriteSystemText(const std::string& text) {
  QSettings settings(kOrganisation, kApplication);
  settings.setValue(kSystemKey, QString::fromStdString(text));
  settings.sync();
}
