#pragma once

#include <QLocale>
#include <QString>

#include <optional>
#include <string>

// The program's own version, compared with the maker's version file.
inline constexpr double kProgramVersion = 2.4;

enum class VersionOutcome { NewerVersion, NoUpdates, Failed };

// The number on the first line of the version file's text, blanks around it
// allowed, read with the decimal separator of `locale`; nothing when the line
// is empty or not a number.
std::optional<double> ReadVersionNumber(const std::string &fileText, const QLocale &locale);

// Compares the version file's number with the program's version.
VersionOutcome JudgeVersionFile(const std::string &fileText, const QLocale &locale);

QString DownloadingText();
QString OutcomeText(VersionOutcome outcome);
