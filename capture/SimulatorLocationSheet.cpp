#include "SimulatorLocationSheet.h"

#include "LocationSheetModel.h"
#include "BusyIndicator.h"
#include "PlanEditorStyle.h"
#include "SheetHeader.h"
#include "SheetLayout.h"

#include <AppPalette.h>
#include <ControlStyles.h>
#include <MapWidget.h>
#include <SymbolLabel.h>
#include <Symbols.h>
#include <TextStyle.h>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int standardPadding = 16;

void setTextIfDifferent(QLineEdit *field, const QString &text)
{
    if (field->text() != text)
        field->setText(text);
}

} // namespace

SimulatorLocationSheet::SimulatorLocationSheet(std::optional<PlanLocation> initial,
                                               std::function<void(double, double)> onApply,
                                               std::function<void()> onClear,
                                               QWidget *parent)
    : QDialog(parent)
    , m_model(new LocationSheetModel(initial, std::move(onApply), std::move(onClear), this))
{
    setObjectName(QStringLiteral("simulatorLocationSheet"));
    setWindowTitle(QStringLiteral("Fake-Standort im Simulator"));
    setWindowModality(Qt::WindowModal);
    // The presenter's callbacks follow the presenter, not this sheet.
    if (parent)
        m_model->setCallbackGuard(parent);

    QVBoxLayout *layout = SheetLayout::install(this, QSize(580, 600));
    layout->addWidget(buildHeader());
    layout->addWidget(PlanEditorStyle::divider(this));
    layout->addWidget(buildSearchRow());
    layout->addWidget(PlanEditorStyle::divider(this));

    m_map = new MapWidget(this);
    m_map->setObjectName(QStringLiteral("map"));
    m_map->setMinimumHeight(340);
    m_map->setCamera(m_model->camera());
    layout->addWidget(m_map, 1);
    layout->addWidget(PlanEditorStyle::divider(this));
    layout->addWidget(buildControls());

    connect(m_map, &MapWidget::tapped, m_model, &LocationSheetModel::tap);
    connect(m_map, &MapWidget::cameraChanged, m_model, &LocationSheetModel::setCamera);
    connect(m_map, &MapWidget::cameraChangeEnded, m_model, &LocationSheetModel::setSpan);
    connect(m_model, &LocationSheetModel::cameraChanged, m_map, &MapWidget::setCamera);
    connect(m_model, &LocationSheetModel::coordinateChanged, this, &SimulatorLocationSheet::updateCoordinateFields);
    connect(m_model, &LocationSheetModel::queryChanged, this, &SimulatorLocationSheet::updateSearchRow);
    connect(m_model, &LocationSheetModel::searchingChanged, this, &SimulatorLocationSheet::updateSearchRow);
    connect(m_model, &LocationSheetModel::searchErrorChanged, this, &SimulatorLocationSheet::updateSearchRow);
    connect(m_model, &LocationSheetModel::busyChanged, this, &SimulatorLocationSheet::updateBusy);
    connect(m_model, &LocationSheetModel::outcomeChanged, this, &SimulatorLocationSheet::updateOutcome);

    updateCoordinateFields();
    updateSearchRow();
    updateBusy();
    updateOutcome();
    // The minimum holds from the start, before the sheet is first shown.
    QDialog::layout()->activate();
    resize(640, 720);
}

SimulatorLocationSheet::~SimulatorLocationSheet()
{
    // A focused field reports the end of editing while the children are torn down.
    m_latitudeField->disconnect(this);
    m_longitudeField->disconnect(this);
}

void SimulatorLocationSheet::setPlaceSearcher(std::shared_ptr<PlaceSearcher> searcher)
{
    m_model->setSearcher(std::move(searcher));
}

QWidget *SimulatorLocationSheet::buildHeader()
{
    auto *header = new SheetHeader(QStringLiteral("location.circle.fill"), QStringLiteral("Fake-Standort im Simulator"), this);
    header->setSymbol(QStringLiteral("location.circle.fill"), AppPalette::accent());
    header->setSubtitle(QStringLiteral("Tipp auf die Karte oder gib Koordinaten ein, dann im Simulator setzen."));
    header->setObjectName(QStringLiteral("locationHeader"));
    header->setVerticalAlignment(Qt::AlignVCenter);
    header->closeButton()->setObjectName(QStringLiteral("closeButton"));
    // Same path as Escape.
    connect(header, &SheetHeader::closeRequested, this, &QDialog::reject);
    return header;
}

QWidget *SimulatorLocationSheet::buildSearchRow()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(standardPadding, 10, standardPadding, 10);
    row->setSpacing(8);

    auto *symbol = new SymbolLabel(QStringLiteral("magnifyingglass"), TextStyle::Body, bar);
    symbol->setColor(AppPalette::secondaryText());
    row->addWidget(symbol);

    m_queryField = new QLineEdit(bar);
    m_queryField->setObjectName(QStringLiteral("queryField"));
    m_queryField->setPlaceholderText(QStringLiteral("Ort suchen, z. B. Berlin oder Eiffelturm"));
    m_queryField->setClearButtonEnabled(false);
    row->addWidget(m_queryField, 1);
    connect(m_queryField, &QLineEdit::textEdited, m_model, &LocationSheetModel::setQuery);
    connect(m_queryField, &QLineEdit::returnPressed, m_model, &LocationSheetModel::search);

    m_searchProgress = new BusyIndicator(16, bar);
    m_searchProgress->setObjectName(QStringLiteral("searchProgress"));
    row->addWidget(m_searchProgress);

    m_searchButton = new QPushButton(QStringLiteral("Suchen"), bar);
    m_searchButton->setObjectName(QStringLiteral("searchButton"));
    m_searchButton->setAutoDefault(false);
    ControlStyles::makeBordered(m_searchButton);
    connect(m_searchButton, &QPushButton::clicked, m_model, &LocationSheetModel::search);
    row->addWidget(m_searchButton);

    m_searchError = PlanEditorStyle::label(QString(), TextStyle::Caption, bar, AppPalette::destructive());
    m_searchError->setObjectName(QStringLiteral("searchError"));
    row->addWidget(m_searchError);
    return bar;
}

QWidget *SimulatorLocationSheet::coordinateField(const QString &caption, const QString &objectName, QLineEdit *&field)
{
    auto *box = new QWidget(this);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(PlanEditorStyle::label(caption, TextStyle::Caption2, box, AppPalette::secondaryText()));
    field = new QLineEdit(box);
    field->setObjectName(objectName);
    field->setFixedWidth(120);
    field->setFont(TextStyles::monospaced(TextStyle::Body));
    column->addWidget(field);

    QLineEdit *edit = field;
    connect(edit, &QLineEdit::returnPressed, this, [this, edit] { commitField(edit, true); });
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] { commitField(edit, false); });
    return box;
}

QWidget *SimulatorLocationSheet::buildControls()
{
    auto *controls = new QWidget(this);
    auto *column = new QVBoxLayout(controls);
    column->setContentsMargins(standardPadding, standardPadding, standardPadding, standardPadding);
    column->setSpacing(12);

    auto *coordinates = new QHBoxLayout;
    coordinates->setSpacing(10);
    coordinates->addWidget(coordinateField(QStringLiteral("Breite"), QStringLiteral("latitudeField"), m_latitudeField));
    coordinates->addWidget(coordinateField(QStringLiteral("Länge"), QStringLiteral("longitudeField"), m_longitudeField));
    m_recentreButton = new QToolButton(controls);
    m_recentreButton->setObjectName(QStringLiteral("recentreButton"));
    const int symbolSize = TextStyles::pixelSize(TextStyle::Title);
    m_recentreButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_recentreButton->setIcon(Symbols::icon(QStringLiteral("scope"), AppPalette::primaryText(), symbolSize));
    m_recentreButton->setIconSize(QSize(symbolSize, symbolSize));
    ControlStyles::makeBordered(m_recentreButton, ControlStyles::ControlSize::Large);
    m_recentreButton->setToolTip(QStringLiteral("Karte auf diese Koordinaten zentrieren"));
    m_recentreButton->setCursor(Qt::PointingHandCursor);
    connect(m_recentreButton, &QToolButton::clicked, this, [this] {
        commitFields();
        m_model->recentre();
    });
    coordinates->addWidget(m_recentreButton, 0, Qt::AlignVCenter);
    coordinates->addStretch(1);
    column->addLayout(coordinates);

    auto *actions = new QHBoxLayout;
    actions->setSpacing(10);
    m_outcome = new QWidget(controls);
    m_outcome->setObjectName(QStringLiteral("outcome"));
    auto *outcomeRow = new QHBoxLayout(m_outcome);
    outcomeRow->setContentsMargins(0, 0, 0, 0);
    outcomeRow->setSpacing(4);
    m_outcomeText = PlanEditorStyle::label(QString(), TextStyle::Caption, m_outcome);
    m_outcomeText->setObjectName(QStringLiteral("outcomeLabel"));
    // Long messages wrap instead of pushing the buttons away.
    m_outcomeText->setWordWrap(true);
    m_outcomeText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_outcomeText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // The symbol stands level with the message's first line.
    m_outcomeSymbol = new SymbolLabel(QString(), TextStyle::Caption, m_outcome);
    m_outcomeSymbol->setObjectName(QStringLiteral("outcomeSymbol"));
    m_outcomeSymbol->setAlignment(Qt::AlignCenter);
    m_outcomeSymbol->setFixedHeight(m_outcomeText->fontMetrics().height());
    outcomeRow->addWidget(m_outcomeSymbol, 0, Qt::AlignTop);
    outcomeRow->addWidget(m_outcomeText, 1, Qt::AlignTop);
    actions->addWidget(m_outcome, 1, Qt::AlignVCenter);
    actions->addStretch(0);

    m_clearButton = new QPushButton(QStringLiteral("Zurücksetzen"), controls);
    m_clearButton->setObjectName(QStringLiteral("clearButton"));
    m_clearButton->setAutoDefault(false);
    ControlStyles::makeBordered(m_clearButton);
    connect(m_clearButton, &QPushButton::clicked, m_model, &LocationSheetModel::clear);
    actions->addWidget(m_clearButton);

    m_applyButton = new QPushButton(QStringLiteral("Im Simulator setzen"), controls);
    m_applyButton->setObjectName(QStringLiteral("applyButton"));
    m_applyButton->setAutoDefault(false);
    m_applyButton->setIcon(Symbols::icon(QStringLiteral("location.fill"), Qt::white, 14));
    PlanEditorStyle::makeProminent(m_applyButton);
    // Keep the button's width while its label gives way to the progress indicator.
    m_applyButton->setMinimumWidth(m_applyButton->sizeHint().width());
    m_applyProgress = new BusyIndicator(14, m_applyButton);
    m_applyProgress->setObjectName(QStringLiteral("applyProgress"));
    m_applyProgress->hide();
    connect(m_applyButton, &QPushButton::clicked, this, [this] {
        commitFields();
        m_model->apply();
    });
    actions->addWidget(m_applyButton);
    column->addLayout(actions);
    return controls;
}

void SimulatorLocationSheet::commitField(QLineEdit *field, bool recentre)
{
    // A field showing the value as it stands holds nothing new: reading the rounded text
    // back would cut the value to six digits.
    const double current = field == m_latitudeField ? m_model->latitude() : m_model->longitude();
    if (field->text() != LocationSheetModel::formatCoordinate(current)) {
        if (field == m_latitudeField)
            m_model->commitLatitudeText(field->text());
        else
            m_model->commitLongitudeText(field->text());
    }
    // Show the value as it stands: rounded, or back to the old value when the text was no number.
    updateCoordinateFields();
    if (recentre)
        m_model->recentre();
}

void SimulatorLocationSheet::commitFields()
{
    // Buttons take no focus, so a field being typed in has not finished editing yet.
    commitField(m_latitudeField, false);
    commitField(m_longitudeField, false);
}

void SimulatorLocationSheet::updateCoordinateFields()
{
    setTextIfDifferent(m_latitudeField, LocationSheetModel::formatCoordinate(m_model->latitude()));
    setTextIfDifferent(m_longitudeField, LocationSheetModel::formatCoordinate(m_model->longitude()));
    m_map->setMarker(MapCoordinate{m_model->latitude(), m_model->longitude()}, QStringLiteral("Standort"));
}

void SimulatorLocationSheet::updateSearchRow()
{
    setTextIfDifferent(m_queryField, m_model->query());
    const bool searching = m_model->isSearching();
    m_searchProgress->setVisible(searching);
    m_searchButton->setVisible(!searching);
    m_searchButton->setEnabled(m_model->canSearch());
    const QString error = m_model->searchError().value_or(QString());
    m_searchError->setText(error);
    m_searchError->setVisible(!error.isEmpty());
}

void SimulatorLocationSheet::updateBusy()
{
    const bool busy = m_model->isBusy();
    m_clearButton->setEnabled(!busy);
    m_applyButton->setEnabled(!busy);
    if (busy) {
        m_applyButton->setText(QString());
        m_applyButton->setIcon(QIcon());
        m_applyProgress->move((m_applyButton->width() - m_applyProgress->width()) / 2,
                              (m_applyButton->height() - m_applyProgress->height()) / 2);
        m_applyProgress->show();
    } else {
        m_applyProgress->hide();
        m_applyButton->setText(QStringLiteral("Im Simulator setzen"));
        m_applyButton->setIcon(Symbols::icon(QStringLiteral("location.fill"), Qt::white, 14));
    }
}

void SimulatorLocationSheet::updateOutcome()
{
    const auto outcome = m_model->outcome();
    m_outcome->setVisible(outcome.has_value());
    if (!outcome)
        return;
    const QColor color = outcome->ok ? AppPalette::accent() : AppPalette::destructive();
    m_outcomeSymbol->setSymbolName(outcome->ok ? QStringLiteral("checkmark.circle.fill")
                                               : QStringLiteral("exclamationmark.triangle.fill"));
    m_outcomeSymbol->setColor(color);
    m_outcomeText->setText(outcome->message);
    PlanEditorStyle::setTextColor(m_outcomeText, color);
}

void SimulatorLocationSheet::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // The fields follow the user's locale.
    if (event->type() == QEvent::LocaleChange && m_latitudeField)
        updateCoordinateFields();
}
