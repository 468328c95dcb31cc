#pragma once

#include "LegalWidget.h"

class QLabel;
class SymbolLabel;

// One data-processing entry of a privacy page: what, why, and where it is stored.
class LegalDataItem final : public LegalWidget
{
    Q_OBJECT

public:
    LegalDataItem(const QString &title, const QString &description, const QString &storage, QWidget *parent = nullptr);

protected:
    void applyEnvironment() override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_title = nullptr;
    QLabel *m_description = nullptr;
    SymbolLabel *m_arrow = nullptr;
    QLabel *m_storage = nullptr;
};
