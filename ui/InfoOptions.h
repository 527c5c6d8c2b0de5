#pragma once

class QCommandLineParser;

// --help and --version are answered before the window system starts, so both work without a
// display (in a script, over ssh, in a package check). The parser holds the program's options,
// help and version among them; when the arguments ask for either, this prints the answer and
// ends the program. Otherwise it returns and the window application takes the arguments.
void AnswerInfoOptions(QCommandLineParser& parser, int& argc, char** argv);
