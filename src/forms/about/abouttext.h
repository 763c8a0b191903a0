#pragma once

#include <QString>

namespace ferncastle::about {

// "Version 1.0.0": all three numbers, plain decimal.
QString versionText(int major, int minor, int revision);

// The name padded with blanks to 16 characters, then "- " and the address.
QString creditLine(const QString &name, const QString &address);

// Seven lines joined with lone carriage returns.
QString descriptionText();

// Three lines joined with lone carriage returns.
QString disclaimerText();

} // namespace ferncastle::about
