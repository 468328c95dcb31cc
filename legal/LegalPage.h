#pragma once

#include "LegalWidget.h"
#include "LocalizedText.h"

class QScrollArea;
class QVBoxLayout;

// A scrolling legal page: a centred column (padding 16 left and right, 8 above and
// below, 24 between parts) whose window title is the page's localised title.
class LegalPage : public LegalWidget
{
    Q_OBJECT

public:
    explicit LegalPage(const QString &titleKey, QWidget *parent = nullptr);

    QString titleKey() const { return m_titleKey; }
    // The parts of the page in order (for hosts and tests).
    QList<QWidget *> parts() const;

protected:
    void addPart(QWidget *part);
    void applyEnvironment() override;

private:
    QString m_titleKey;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_column = nullptr;
    QVBoxLayout *m_layout = nullptr;
};

// Gives a page's column the full width of its container.
void legalPageWidth(QWidget *column);
