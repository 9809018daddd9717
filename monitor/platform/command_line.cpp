#include "platform/command_line.h"

#include <QFileInfo>
#include <cstdio>

namespace treld {

std::optional<int> answerCommandLine(int argc, char** argv, const QString& description,
                                     QCommandLineParser& parser) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString name = QFileInfo(arguments.value(0)).fileName();

    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    auto print = [](std::FILE* to, const QString& text) {
        std::fputs(text.toLocal8Bit().constData(), to);
    };
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString why = parser.errorText().isEmpty()
                                ? "Unexpected argument '" + parser.positionalArguments()[0] + "'."
                                : parser.errorText();
        print(stderr, name + ": " + why + "\nTry '" + name + " --help'.\n");
        return 2;
    }
    if (parser.isSet(help)) {
        // Without an application object Qt cannot name the program itself.
        QString text = parser.helpText();
        text.replace("<executable_name>", name);
        print(stdout, text);
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, name + " " + TRELD_VERSION + "\n");
        return 0;
    }
    return std::nullopt;
}

}  // namespace treld
