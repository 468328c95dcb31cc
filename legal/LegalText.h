#pragma once

#include "LegalWidget.h"
#include "LocalizedText.h"

class QLabel;


// A paragraph in the secondary text colour that wraps instead of being cut.
class LegalText final : public LegalWidget
{
    Q_OBJECT

public:
    explicit LegalText(const LocalizedText &text, QWidget *parent = nullptr);
    explicit LegalText(const QString &verbatim, QWidget *parent = nullptr);
    QString shownText() const;

protected:
    void applyEnvironment() override;

private:
    LocalizedText m_text;
    QLabel *m_label = nullptr;
};
