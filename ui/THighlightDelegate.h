#pragma once

#include <QStyledItemDelegate>

// Paints a cell that has a background colour of its own in that colour also
// while its row is selected: a marked row stays visible as marked.
class THighlightDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
