#include "platform/settings_store.h"

#include <QSettings>
#include <QString>

namespace {
const QString kOrganisation = QStringLiteral("KORMEL");
const QString kApplication = QStringLiteral("Wheelwatcher");
const QString kSystemKey = QStringLiteral("Settings/SYSTEM");

struct GuardrailKeys {
  Guardrail guardrail;
  QString on;
  QString value;
  std::int64_t maximum;
};
const GuardrailKeys kGuardrailKeys[] = {
    {Guardrail::kStopLoss, QStringLiteral("Guardrails/StopLossOn"),
     QStringLiteral("Guardrails/StopLoss"), 1000000000},
    {Guardrail::kStopWin, QStringLiteral("Guardrails/StopWinOn"),
     QStringLiteral("Guardrails/StopWin"), 1000000000},
    {Guardrail::kSessionTime, QStringLiteral("Guardrails/SessionTimeOn"),
     QStringLiteral("Guardrails/SessionMinutes"), 24 * 60},
};
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

GuardrailLimits SettingsStore::ReadGuardrailLimits() const {
  const QSettings settings(kOrganisation, kApplication);
  GuardrailLimits limits;
  for (const GuardrailKeys& keys : kGuardrailKeys) {
    GuardrailLimit& limit = limits[keys.guardrail];
    limit.on = settings.value(keys.on, false).toBool();
    bool isNumber = false;
    const qlonglong value = settings.value(keys.value).toLongLong(&isNumber);
    if (isNumber && value >= 1 && value <= keys.maximum) limit.value = value;
  }
  return limits;
}

void SettingsStore::WriteGuardrailLimits(const GuardrailLimits& limits) {
  QSettings settings(kOrganisation, kApplication);
  for (const GuardrailKeys& keys : kGuardrailKeys) {
    settings.setValue(keys.on, limits[keys.guardrail].on);
    settings.setValue(keys.value, static_cast<qlonglong>(limits[keys.guardrail].value));
  }
  settings.sync();
}
