#pragma once
// "About Drenok": version, dates, the computer's network address, and the support and web addresses
// when the settings hold them.

#include <QDate>
#include <QDialog>
#include <QString>

namespace app::ui {

/// The release date of this version (12 November 2015).
inline const QDate kReleaseDate{2015, 11, 12};

class TDlgAbout : public QDialog {
    Q_OBJECT
public:
    TDlgAbout(const QString& supportEmail, const QString& webSite, QWidget* parent = nullptr);
};

/// The first address of an interface that is up and not the loopback, IPv4 first; empty when none.
[[nodiscard]] QString NetworkAddress();

}  // namespace app::ui
