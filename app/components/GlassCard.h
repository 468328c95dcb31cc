#pragma once

#include <GlassSurface.h>

class QLabel;
class QVBoxLayout;
class SymbolLabel;

// A card: a glass surface headed by a symbol and a title, with its content below them.
class GlassCard final : public GlassSurface
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GlassCard)

public:
    // The card takes ownership of `content`; it may be given later with setContent().
    GlassCard(const QString &title, const QString &systemImage, QWidget *content = nullptr,
              QWidget *parent = nullptr);

    QString title() const;
    QString systemImage() const;
    QWidget *content() const { return m_content; }

    void setTitle(const QString &title);
    void setSystemImage(const QString &systemImage);
    // Replaces the content; the previous content is deleted.
    void setContent(QWidget *content);

private:
    SymbolLabel *m_icon = nullptr;
    QLabel *m_title = nullptr;
    QVBoxLayout *m_layout = nullptr;
    QWidget *m_content = nullptr;
};
