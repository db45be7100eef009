// The desktop's handler that cannot open a file is told to the user, naming the file and its folder.

#include "app/session/desktop_open.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QStringList>

namespace app::session {
namespace {

// What the handler reported after it ended (or the wait ran out).
QStringList openWith(const QString& opener, const QString& file) {
    QObject context;
    QStringList said;
    bool ended = false;
    OpenWithDesktop(
        file, &context, [&](const QString& message) { said << message; }, opener);
    // The process is the context's child; it is gone once it has ended.
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && !ended) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        ended = context.children().isEmpty();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(ended) << opener.toStdString();
    return said;
}

TEST(DesktopOpen, FailuresNameTheFileAndItsFolder) {
    const QString file = QStringLiteral("/data/walls/DRENOK 2015 Users Manual.pdf");
    EXPECT_TRUE(openWith(QStringLiteral("true"), file).isEmpty());
    for (const QString& opener : {QStringLiteral("false"), QStringLiteral("/nonexistent/opener")}) {
        SCOPED_TRACE(opener.toStdString());
        const QStringList said = openWith(opener, file);
        ASSERT_EQ(said.size(), 1);
        EXPECT_TRUE(said[0].startsWith(QStringLiteral(
            "The desktop could not open DRENOK 2015 Users Manual.pdf (in the folder /data/walls)")))
            << said[0].toStdString();
    }
}

}  // namespace
}  // namespace app::session
