#pragma once

#include "LegalWidget.h"

class QLabel;

// "v<version>" and "(<Build> <build>)" on a translucent capsule.
class VersionBadge final : public LegalWidget
{
    Q_OBJECT

public:
    explicit VersionBadge(QWidget *parent = nullptr);
    QString versionText() const;
    QString buildText() const;

protected:
    void applyEnvironment() override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_version = nullptr;
    QLabel *m_build = nullptr;
};
