#pragma once

#include <QWidget>

class QLabel;

// The content of the about window: the application's mark, name, version and build, and
// the rights notice, all read from the bundle information.
class AboutView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutView)

public:
    explicit AboutView(QWidget *parent = nullptr);

    // The bundle's name, or "Velorance Studio".
    static QString appName();
    // The bundle's marketing version, or "0.2.0".
    static QString versionString();
    // The bundle's build number, or "2".
    static QString buildNumber();
    // The bundle's rights notice, or a notice in the maker's name.
    static QString rightsNotice();
    // "Version 0.2.0 (2)"
    static QString versionLine();

private:
    QLabel *m_name = nullptr;
    QLabel *m_version = nullptr;
    QLabel *m_rights = nullptr;
};
