#pragma once

#include "LegalWidget.h"
#include "LocalizedText.h"

class QLabel;
class SymbolLabel;

// A bullet: symbol in the accent colour beside a wrapping text.
class LegalBullet final : public LegalWidget
{
    Q_OBJECT

public:
    LegalBullet(const QString &icon, const LocalizedText &text, QWidget *parent = nullptr);
    LegalBullet(const QString &icon, const QString &verbatim, QWidget *parent = nullptr);
    QString shownText() const;

protected:
    void applyEnvironment() override;

private:
    LocalizedText m_text;
    SymbolLabel *m_icon = nullptr;
    QLabel *m_label = nullptr;
};
