#pragma once

#include "AccordionMetrics.h"
#include "SettingsCardStyle.h"

#include <Binding.h>
#include <SettingsTheme.h>

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QAbstractButton;
class QLabel;
class QVariantAnimation;
class SymbolLabel;

// A collapsible settings card: a tappable header (icon, title, rotating chevron) over a
// body that unfolds below it. Collapsed, the body shrinks into a small bubble behind the
// header's right part and takes no input; its content exists only while the card is open.
class SettingsAccordionCard final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsAccordionCard)

public:
    // Builds the content: each widget returned becomes one item of the body's stack.
    using ContentBuilder = std::function<QWidgetList()>;
    using SingleContentBuilder = std::function<QWidget *()>;

    // Without `isExpanded` the card keeps its own open state, starting collapsed.
    SettingsAccordionCard(const QString &title, const std::optional<QString> &icon, SettingsCardStyle style,
                          std::optional<Binding<bool>> isExpanded, ContentBuilder content, QWidget *parent = nullptr);
    SettingsAccordionCard(const QString &title, const std::optional<QString> &icon, SettingsCardStyle style,
                          std::optional<Binding<bool>> isExpanded, SingleContentBuilder content,
                          QWidget *parent = nullptr);
    ~SettingsAccordionCard() override;

    // A card's open state bound to one shared selection, so that at most one card is open:
    // open while the selection holds `value`; opening selects `value`; closing clears the
    // selection only while it still holds `value`.
    template <typename T>
    static Binding<bool> binding(Binding<std::optional<T>> selection, T value)
    {
        return Binding<bool>{
            [selection, value] {
                const std::optional<T> current = selection.get();
                return current.has_value() && *current == value;
            },
            [selection, value](const bool &open) {
                if (open) {
                    selection.set(std::optional<T>(value));
                    return;
                }
                const std::optional<T> current = selection.get();
                if (current.has_value() && *current == value)
                    selection.set(std::nullopt);
            }};
    }

    QString title() const { return m_title; }
    std::optional<QString> icon() const { return m_icon; }
    SettingsCardStyle style() const { return m_style; }
    bool usesGlassLayout() const;

    // The external binding's value when there is one, else the card's own state.
    bool isExpanded() const;
    // What a header tap does: the theme's haptic first, then the open state flips.
    void toggle();
    // Shows what the external binding now holds (the owner changed it); without animation
    // the card stands in its final shape at once.
    void syncFromBinding(bool animated = true);

    // Layout numbers for the current theme and open state.
    AccordionMetrics metrics() const;
    // The body's built content; null while the card is collapsed.
    QWidget *content() const { return m_contentHost; }
    QAbstractButton *header() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    // For drawing: the header's and the body bubble's rectangles as now laid out.
    QRectF headerRect() const { return m_headerRect; }
    QRectF bubbleRect() const { return m_bubbleRect; }
    qreal bubbleCornerRadius() const;
    double bubbleOpacity() const;

Q_SIGNALS:
    void expandedChanged(bool expanded);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setExpanded(bool expanded);
    void applyTheme();
    void buildContent(bool fadeIn);
    void dropContent();
    void fadeContentIn();
    void fadeContentOut();
    void endContentFade();
    void animateTo(bool expanded, bool animated);
    void relayout();
    int contentHeightFor(int width) const;
    qreal stackSpacing() const;
    qreal outerVertical() const;
    void paintSurfaces(QPainter &painter);

    QString m_title;
    std::optional<QString> m_icon;
    SettingsCardStyle m_style;
    std::optional<Binding<bool>> m_external;
    bool m_local = false;
    ContentBuilder m_builder;

    bool m_shownExpanded = false;
    // 0 collapsed … 1 open: the header spring (paddings, spacing, chevron) and the body's.
    qreal m_layoutProgress = 0;
    qreal m_bubbleProgress = 0;
    QVariantAnimation *m_layoutAnimation = nullptr;
    QVariantAnimation *m_bubbleAnimation = nullptr;

    QAbstractButton *m_header = nullptr;
    SymbolLabel *m_iconLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QWidget *m_chevron = nullptr;
    QWidget *m_bubble = nullptr;
    QPointer<QWidget> m_contentHost;
    // While the content fades, it is hidden and a picture of it is drawn with this opacity.
    QVariantAnimation *m_fadeAnimation = nullptr;
    qreal m_contentOpacity = 1;
    QPixmap m_contentPicture;

    QRectF m_headerRect;
    QRectF m_bubbleRect;
};
