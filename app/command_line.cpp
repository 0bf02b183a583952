// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace wheelwatcher {

namespace {

constexpr int kUsageError = 2;

QString ProgramName(const QStringList& arguments) {
  return arguments.isEmpty() ? QStringLiteral("wheelwatcher") : QFileInfo(arguments[0]).fileName();
}

}  // namespace

std::optional<int> AnswerInformationOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  // Qt's own options are single-dash words; read as letters, "-stylesheet" would ask for help.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(QStringLiteral(
      "Track the spins of a real roulette wheel and follow a betting system's advice."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Print this help and exit."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Print the version and exit."));
  parser.addOption(help);
  parser.addOption(version);
  // Unknown options are not an error yet: they may be Qt's, which only the application object
  // knows.
  parser.parse(arguments);

  if (parser.isSet(help)) {
    // Without an application object the parser cannot know the program's name.
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), ProgramName(arguments));
    std::fputs(qPrintable(text), stdout);
    return 0;
  }
  if (parser.isSet(version)) {
    std::printf("%s %s\n", qPrintable(ProgramName(arguments)),
                qPrintable(QCoreApplication::applicationVersion()));
    return 0;
  }
  return std::nullopt;
}

std::optional<int> RejectLeftoverArguments(const QStringList& arguments) {
  if (arguments.size() <= 1) return std::nullopt;
  std::fprintf(stderr, "%s: unknown argument '%s'; try --help\n",
               qPrintable(ProgramName(arguments)), qPrintable(arguments[1]));
  return kUsageError;
}

}  // namespace wheelwatcher
