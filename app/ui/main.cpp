// DRENOKN5: the desktop program. The first argument names a data file to open.

#include <QApplication>

#include "app/ui/main_form.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(app::ui::kApplicationTitle));
    QApplication::setOrganizationName(QStringLiteral("Quillon"));
    app::ui::TMainForm form;
    // The name as the system gave it, byte for byte: a name that is not valid UTF-8 must still open.
    // QApplication has taken its own options out of argv by now.
    if (argc > 1) form.OpenFromCommandLineBytes(argv[1]);
    form.show();
    return QApplication::exec();
}
