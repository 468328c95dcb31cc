#pragma once

#include "LegalWidget.h"

#include <optional>

class QLabel;
class SymbolLabel;

// The app-info page's version card: version, build and, when given, the release date.
class VersionInfoCard final : public LegalWidget
{
    Q_OBJECT

public:
    explicit VersionInfoCard(const std::optional<QString> &released, QWidget *parent = nullptr);

    int rowCount() const { return int(m_rows.size()); }
    // Label and value of a row as shown.
    QPair<QString, QString> row(int index) const;

protected:
    void applyEnvironment() override;

private:
    struct Row
    {
        QString labelKey;
        QLabel *label = nullptr;
        QLabel *value = nullptr;
    };

    std::optional<QString> m_released;
    SymbolLabel *m_icon = nullptr;
    QLabel *m_header = nullptr;
    QList<Row> m_rows;
};
