#include "InfoOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

void AnswerInfoOptions(QCommandLineParser& parser, int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // The window system's own options (-platform, -style) are unknown here; a failed parse is
    // the window application's to report.
    parser.parse(arguments);
    if (parser.isSet("help") || parser.isSet("help-all") || parser.isSet("version")) {
        // A console application has no display to connect to; processing prints and exits.
        QCoreApplication console(argc, argv);
        parser.process(console);
    }
}
