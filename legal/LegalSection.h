#pragma once

#include "LegalWidget.h"
#include "LocalizedText.h"

class QLabel;
class SymbolLabel;
class QVBoxLayout;

// A titled card: symbol and title over the caller's content, on the themed card surface.
class LegalSection final : public LegalWidget
{
    Q_OBJECT

public:
    LegalSection(const QString &icon, const LocalizedText &title, QWidget *content, QWidget *parent = nullptr);

    QString titleText() const;
    QWidget *content() const { return m_content; }

protected:
    void applyEnvironment() override;

private:
    LocalizedText m_title;
    SymbolLabel *m_icon = nullptr;
    QLabel *m_titleLabel = nullptr;
    QWidget *m_content = nullptr;
};
