#include "platform/run/terminalscript.h"

namespace ferncastle {

namespace {

// $1 is the command line to show, $2 the tool, the rest its arguments.
// "trap : INT" keeps the window open when Ctrl+C stops the tool, while the
// tool itself still gets the default reaction to it. date is looked up with
// the usual system folders added in case PATH lacks them.
constexpr const char *script = R"sh(trap : INT
now() { PATH="$PATH:/usr/bin:/bin" date +%s 2>/dev/null || echo 0; }
duration() {
    if [ "$1" -ge 3600 ]; then printf '%d h %d min %d s' $(($1 / 3600)) $(($1 % 3600 / 60)) $(($1 % 60))
    elif [ "$1" -ge 60 ]; then printf '%d min %d s' $(($1 / 60)) $(($1 % 60))
    else printf '%d s' "$1"; fi
}
printf '%s\n\n' "$1"
shift
tool=${1##*/}
started=$(now)
"$@"
status=$?
seconds=$(($(now) - started))
if [ "$status" -gt 128 ]; then how=" (stopped by signal $((status - 128)))"; else how=""; fi
printf '\n%s ended with exit status %d%s after %s.\n' "$tool" "$status" "$how" "$(duration "$seconds")"
printf 'Press Enter to close this window.'
read -r answer
)sh";

} // namespace

QStringList terminalScriptCommand(const QString &commandLine, const QString &toolPath,
                                  const QStringList &toolArguments)
{
    // The name after the script is the shell's $0, used in its own messages.
    QStringList command{QStringLiteral("/bin/sh"), QStringLiteral("-c"), QLatin1String(script),
                        QStringLiteral("ferncastle"), printableCommandLine(commandLine),
                        toolPath};
    command += toolArguments;
    return command;
}

QString printableCommandLine(const QString &commandLine)
{
    QString printable = commandLine;
    for (QChar &ch : printable) {
        if (ch.category() == QChar::Other_Control)
            ch = u'?';
    }
    return printable;
}

} // namespace ferncastle
