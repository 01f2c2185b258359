// Tessomar: enciphers or deciphers one file with a password, in one window. main() only picks
// the front-end this build has and runs it; everything else lives behind it.
#include "ui/qt/application.h"

int main(int argc, char* argv[]) { return ui::qt::RunQtApplication(argc, argv); }
