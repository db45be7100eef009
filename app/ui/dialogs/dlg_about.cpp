#include "app/ui/dialogs/dlg_about.h"

#include <QDialogButtonBox>
#include <QHostAddress>
#include <QLabel>
#include <QLocale>
#include <QNetworkInterface>
#include <QVBoxLayout>

#include "app/model/run_files.h"

namespace app::ui {

QString NetworkAddress() {
    QString fallback;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!(flags & QNetworkInterface::IsUp) || (flags & QNetworkInterface::IsLoopBack)) continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() == QAbstractSocket::IPv4Protocol) return address.toString();
            if (fallback.isEmpty() && !address.isLinkLocal()) fallback = address.toString();
        }
    }
    return fallback;
}

TDlgAbout::TDlgAbout(const QString& supportEmail, const QString& webSite, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Drenok"));
    setObjectName(QStringLiteral("DlgAbout"));
    auto* layout = new QVBoxLayout(this);
    auto addLabel = [this, layout](const QString& text, const QString& name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
        return label;
    };
    QLabel* product = addLabel(QStringLiteral("DRENOK 2015"), QStringLiteral("Product"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    product->setFont(big);
    const QLocale locale;
    addLabel(QStringLiteral("Version ") + QString::fromLatin1(app::model::kProgramVersion),
             QStringLiteral("Version"));
    addLabel(tr("Today: ") + locale.toString(QDate::currentDate(), QLocale::ShortFormat),
             QStringLiteral("Today"));
    addLabel(tr("Release date: ") + locale.toString(kReleaseDate, QLocale::ShortFormat),
             QStringLiteral("Release"));
    const QString address = NetworkAddress();
    addLabel(tr("Network address: ") + (address.isEmpty() ? tr("none") : address), QStringLiteral("Address"));
    addLabel(QStringLiteral("A program for the analysis of flexible retaining structures"),
             QStringLiteral("Purpose"));
    // Links only for addresses the settings give: the program invents none.
    auto addLink = [&](const QString& target, const QString& shown, const QString& name) {
        if (target.isEmpty()) return;
        QLabel* link = addLabel(
            QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), shown.toHtmlEscaped()), name);
        link->setTextFormat(Qt::RichText);
        link->setOpenExternalLinks(true);
    };
    if (!supportEmail.isEmpty()) {
        const bool mailto = supportEmail.startsWith(QStringLiteral("mailto:"));
        addLink(mailto ? supportEmail : QStringLiteral("mailto:") + supportEmail, supportEmail,
                QStringLiteral("Support"));
    }
    addLink(webSite, webSite, QStringLiteral("WebSite"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

}  // namespace app::ui
