#pragma once

#include "LegalWidget.h"
#include "LocalizedText.h"

#include <QUrl>

class QLabel;
class SymbolLabel;

// A contact row (icon, caption label, value) that opens its destination when clicked;
// inside a subtree set to display-only it is plain text that cannot be activated.
class LegalLinkRow final : public LegalWidget
{
    Q_OBJECT

public:
    LegalLinkRow(const QString &icon, const LocalizedText &label, const QString &value, const QUrl &destination,
                 QWidget *parent = nullptr);

    bool isLinked() const;
    QString labelText() const;
    QString valueText() const;
    QUrl destination() const { return m_destination; }
    bool showsArrow() const;
    QColor valueColor() const;
    double backgroundOpacity() const { return isLinked() ? 0.1 : 0.05; }

Q_SIGNALS:
    // Emitted when a linked row is clicked, right before the destination is opened.
    void activated(const QUrl &destination);

protected:
    void applyEnvironment() override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void activate();

    LocalizedText m_label;
    QString m_value;
    QUrl m_destination;
    SymbolLabel *m_icon = nullptr;
    QLabel *m_labelLabel = nullptr;
    QLabel *m_valueLabel = nullptr;
    SymbolLabel *m_arrow = nullptr;
};

// Opens links of the legal pages; tests replace it so nothing leaves the process.
namespace LegalLinkOpener {
using Opener = std::function<void(const QUrl &)>;
void setOpener(Opener opener);
void open(const QUrl &url);
}
