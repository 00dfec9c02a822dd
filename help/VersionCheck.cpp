#include "help/VersionCheck.h"

std::optional<double> ReadVersionNumber(const std::string &fileText, const QLocale &locale)
{
    const std::string firstLine = fileText.substr(0, fileText.find_first_of("\r\n"));
    const QString number = QString::fromUtf8(firstLine).trimmed();
    QLocale strict = locale;
    strict.setNumberOptions(strict.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(number, &ok);
    if (!ok) return std::nullopt;
    return value;
}

VersionOutcome JudgeVersionFile(const std::string &fileText, const QLocale &locale)
{
    const auto version = ReadVersionNumber(fileText, locale);
    if (!version) return VersionOutcome::Failed;
    return *version > kProgramVersion ? VersionOutcome::NewerVersion : VersionOutcome::NoUpdates;
}

QString DownloadingText() { return QStringLiteral("Downloading Version Info..."); }

QString OutcomeText(VersionOutcome outcome)
{
    switch (outcome) {
    case VersionOutcome::NewerVersion:
        return QStringLiteral(
            "New Version Available! Click \"Get the new version\" to visit the download page...");
    case VersionOutcome::NoUpdates:
        return QStringLiteral("There are no new updates available.");
    case VersionOutcome::Failed:
        break;
    }
    return QStringLiteral("Cannot Download Version Info. Please, try again later. ");
}
