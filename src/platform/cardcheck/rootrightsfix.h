#pragma once

#include <QObject>
#include <QStringList>

class QProcess;

namespace ferncastle {

// How an attempt to give the tools root's rights ended.
struct RootRightsOutcome {
    enum class Kind {
        Done,          // both commands succeeded
        NoPkexec,      // pkexec is not installed: nothing changed
        NotAuthorised, // the password prompt was cancelled or refused
        Failed,        // a command ran and failed
        Refused,       // a file is not a card tool itself (any more)
    };
    Kind kind = Kind::Done;
    bool ownerChanged = false; // the first command succeeded
    QString message;           // a sentence for the user
};

// Gives tool files owner root and the set-user-ID bit, as the tools' own
// "make setuid" does: chown root, then chmod u+s. Each is run through
// pkexec, which asks for the administrator's password, with its arguments
// as a list: no shell ever sees the file names.
class RootRightsFix : public QObject
{
    Q_OBJECT

public:
    explicit RootRightsFix(const QStringList &files, QObject *parent = nullptr);

    // The programs and arguments, in order: pkexec, then the command.
    QList<QStringList> commands() const;

    // What will be done to which files, for the user to read beforehand.
    QString description() const;

    // Starts the first command; finished() follows. Also when pkexec is
    // missing, so the caller has one path.
    void start();

Q_SIGNALS:
    void finished(const ferncastle::RootRightsOutcome &outcome);

private:
    void runStep(int step);
    void stepFinished(int step, int exitCode, bool crashed);
    void finish(RootRightsOutcome::Kind kind, const QString &message);

    QStringList m_files;
    QString m_pkexec;
    QProcess *m_process = nullptr;
    bool m_ownerChanged = false;
};

} // namespace ferncastle

Q_DECLARE_METATYPE(ferncastle::RootRightsOutcome)
