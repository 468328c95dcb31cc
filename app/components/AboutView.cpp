#include "AboutView.h"

#include "SymbolTile.h"

#include <AppPalette.h>
#include <BundleInfo.h>
#include <SymbolLabel.h>
#include <TextStyle.h>

#include <QLabel>
#include <QVBoxLayout>

namespace {
QString orFallback(const std::optional<QString> &value, const QString &fallback)
{
    return value && !value->trimmed().isEmpty() ? *value : fallback;
}

QLabel *centredLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}
} // namespace

AboutView::AboutView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("aboutView"));

    auto *mark = new SymbolTile(QStringLiteral("camera.viewfinder"), 72, 40, 16, this);
    mark->setObjectName(QStringLiteral("aboutMark"));
    m_name = centredLabel(appName(), TextStyles::font(TextStyle::Title2, QFont::Bold), AppPalette::primaryText(), this);
    m_name->setObjectName(QStringLiteral("aboutName"));
    m_version = centredLabel(versionLine(), TextStyles::font(TextStyle::Callout), AppPalette::secondaryText(), this);
    m_version->setObjectName(QStringLiteral("aboutVersion"));
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_rights = centredLabel(rightsNotice(), TextStyles::font(TextStyle::Caption), AppPalette::tertiaryText(), this);
    m_rights->setObjectName(QStringLiteral("aboutRights"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 32, 40, 28);
    layout->setSpacing(6);
    layout->addWidget(mark, 0, Qt::AlignHCenter);
    layout->addSpacing(10);
    layout->addWidget(m_name);
    layout->addWidget(m_version);
    layout->addSpacing(14);
    layout->addWidget(m_rights);
}

QString AboutView::appName()
{
    return orFallback(BundleInfo::main().name, QStringLiteral("Velorance Studio"));
}

QString AboutView::versionString()
{
    return orFallback(BundleInfo::main().shortVersion, QStringLiteral("0.2.0"));
}

QString AboutView::buildNumber()
{
    return orFallback(BundleInfo::main().version, QStringLiteral("2"));
}

QString AboutView::rightsNotice()
{
    return orFallback(BundleInfo::main().copyright, QStringLiteral("© Norvane. Alle Rechte vorbehalten."));
}

QString AboutView::versionLine()
{
    return QStringLiteral("Version %1 (%2)").arg(versionString(), buildNumber());
}
