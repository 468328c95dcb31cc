#pragma once

#include <QWidget>

class BusyIndicator;
class QHBoxLayout;
class QLabel;
class QToolButton;
class SymbolLabel;

// The top row of a sheet: a large status symbol (or a busy indicator in its place), a headline
// title over a caption line, and a close button that asks to close the way Escape does.
// Everything is updated in place.
class SheetHeader final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SheetHeader)

public:
    explicit SheetHeader(const QString &symbolName, const QString &title, QWidget *parent = nullptr);

    // An invalid colour keeps the text colour.
    void setSymbol(const QString &symbolName, const QColor &color = QColor());
    void setTitle(const QString &title);
    void setSubtitle(const QString &subtitle);
    // While busy the indicator stands in for the symbol.
    void setBusy(bool busy);
    // The space around the row; sheets that pad their top area themselves pass 0.
    void setPadding(int padding);
    // How the symbol, the titles and the close button line up: at the top (the default) or
    // centred on one another.
    void setVerticalAlignment(Qt::Alignment alignment);

    // For object names, tool tips and effects.
    SymbolLabel *symbolLabel() const { return m_symbol; }
    BusyIndicator *busyIndicator() const { return m_busy; }
    QLabel *titleLabel() const { return m_title; }
    QLabel *subtitleLabel() const { return m_subtitle; }
    QToolButton *closeButton() const { return m_close; }

signals:
    void closeRequested();

private:
    QHBoxLayout *m_row = nullptr;
    QWidget *m_iconSlot = nullptr;
    QLayout *m_titles = nullptr;
    SymbolLabel *m_symbol = nullptr;
    BusyIndicator *m_busy = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_subtitle = nullptr;
    QToolButton *m_close = nullptr;
};
