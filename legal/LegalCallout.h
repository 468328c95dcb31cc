#pragma once

#include "LegalWidget.h"
#include "LocalizedText.h"

class QLabel;
class SymbolLabel;

// A tinted notice box with a symbol, a title and a text.
class LegalCallout final : public LegalWidget
{
    Q_OBJECT

public:
    LegalCallout(const QString &icon, const LocalizedText &title, const LocalizedText &text, const QColor &tint,
                 QWidget *parent = nullptr);
    LegalCallout(const QString &icon, const QString &title, const QString &text, const QColor &tint,
                 QWidget *parent = nullptr);

protected:
    void applyEnvironment() override;
    void paintEvent(QPaintEvent *event) override;

private:
    LocalizedText m_titleText;
    LocalizedText m_bodyText;
    QColor m_tint;
    SymbolLabel *m_icon = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_body = nullptr;
};
