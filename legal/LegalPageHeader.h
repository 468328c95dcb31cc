#pragma once

#include "LegalWidget.h"
#include "LocalizedText.h"

class QLabel;
class SymbolLabel;

// The head of a legal page: a large symbol over a centred tagline.
class LegalPageHeader final : public LegalWidget
{
    Q_OBJECT

public:
    LegalPageHeader(const QString &icon, const LocalizedText &tagline, QWidget *parent = nullptr);
    QString taglineText() const;

protected:
    void applyEnvironment() override;

private:
    LocalizedText m_taglineText;
    SymbolLabel *m_icon = nullptr;
    QLabel *m_tagline = nullptr;
};
