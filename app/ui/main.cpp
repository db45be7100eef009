// DRENOKN5: the desktop program. The first argument names a data file to open.

#include <QApplication>
#include <QStringList>

#include "app/ui/main_form.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(app::ui::kApplicationTitle));
    QApplication::setOrganizationName(QStringLiteral("Quillon"));
    app::ui::TMainForm form;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) form.OpenFromCommandLine(arguments.at(1));
    form.show();
    return QApplication::exec();
}
