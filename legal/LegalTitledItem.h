#pragma once

#include "LegalWidget.h"
#include "LocalizedText.h"

class QLabel;

// A sub-item with a semibold title over the caller's content; no card.
class LegalTitledItem final : public LegalWidget
{
    Q_OBJECT

public:
    LegalTitledItem(const LocalizedText &title, QWidget *content, QWidget *parent = nullptr);
    LegalTitledItem(const QString &title, QWidget *content, QWidget *parent = nullptr);
    QString titleText() const;

protected:
    void applyEnvironment() override;

private:
    LocalizedText m_titleText;
    QLabel *m_title = nullptr;
};
