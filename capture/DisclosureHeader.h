#pragma once

#include <TextStyle.h>

#include <QAbstractButton>

class QLabel;
class SymbolLabel;

// The label of a disclosure area: a chevron, a symbol and a title. Clicking it (or Space)
// flips its expanded state and emits clicked(bool); the owner shows or hides the content.
class DisclosureHeader final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DisclosureHeader)

public:
    DisclosureHeader(const QString &systemImage, const QString &title, TextStyle style,
                     QFont::Weight weight, QWidget *parent = nullptr);

    bool isExpanded() const { return isChecked(); }
    // Shows the state without emitting clicked().
    void setExpanded(bool expanded);
    QString title() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateChevron();

    SymbolLabel *m_chevron = nullptr;
    SymbolLabel *m_icon = nullptr;
    QLabel *m_title = nullptr;
};
