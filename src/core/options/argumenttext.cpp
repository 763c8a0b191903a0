#include "core/options/argumenttext.h"

namespace ferncastle {

QString argumentTextRefusal(const QString &text, const char *boxCaption)
{
    if (!text.contains(QChar(0)))
        return {};
    return QStringLiteral("The \"%1\" box holds a NUL character, which no program can be "
                          "given. Remove it and try again; nothing was started.")
        .arg(QLatin1String(boxCaption));
}

QString optionTextsRefusal(const OptionSet &options, const QString &builtOptions)
{
    if (argumentTextRefusal(builtOptions, additionalParametersCaption).isEmpty())
        return {};
    const auto &groups = optionGroups();
    for (int i = 0; i < GroupCount; ++i) {
        if (groups[i].kind != ValueKind::Text || options.groups[i].checkState != Ticked)
            continue;
        const QString refusal = argumentTextRefusal(options.groups[i].text, groups[i].caption);
        if (!refusal.isEmpty())
            return refusal;
    }
    // Only the additional parameters are left to have brought it in.
    return argumentTextRefusal(builtOptions, additionalParametersCaption);
}

} // namespace ferncastle
