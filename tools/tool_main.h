#pragma once

#include <functional>

#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

// Runs a tool's `work` on its arguments (its own name first), with errors going to `err`.
// The tools run in builds that have no display, so they draw offscreen unless
// QT_QPA_PLATFORM names a platform. A count of arguments outside `least`..`most` says
// `usage` and exits with 2.
inline int runTool(int argc, char* argv[], qsizetype least, qsizetype most, const char* usage,
                   const std::function<int(const QStringList& args, QTextStream& err)>& work)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < least || args.size() > most) {
        err << "usage: " << usage << '\n';
        return 2;
    }
    return work(args, err);
}
