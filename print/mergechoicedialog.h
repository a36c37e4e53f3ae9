// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/renderpage.h"

#include <QDialog>
#include <QList>

#include <optional>

class CustomerTable;
class LetterModel;
class MergeChoiceFilter;
class MergeChoiceModel;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace addressblock {
enum class Layout;
}

// Before a merge runs: the customers with a check each (all checked), a
// filter over every cell, "全て選択" / "全て解除" for the customers the
// filter shows, the letter of the selected customer as it will print, and
// how many letters will go out. Its children carry object names for tests:
// "filter", "customers", "selectAll", "selectNone", "preview", "count".
class MergeChoiceDialog : public QDialog
{
    Q_OBJECT
public:
    // What the dialog offers: the letter as it is now and the list's rows
    // 0 .. count - 1. All of it must outlive the dialog.
    struct Offer
    {
        const LetterModel &letter;
        const CustomerTable &table;
        int count = 0;
        addressblock::Layout layout;
    };

    MergeChoiceDialog(const Offer &offer, const QString &caption, QWidget *parent = nullptr);
    ~MergeChoiceDialog() override;

    // The checked customers, in list order.
    QList<int> chosenRows() const;
    // The page the preview shows (for the selected customer), if any.
    const std::optional<RenderPage> &previewPage() const { return m_previewPage; }

    // Shows the dialog and waits: the chosen rows, or nothing when the user
    // cancelled. A test stands in for the user through setInstance().
    using Chooser = std::function<std::optional<QList<int>>(QWidget *parent, const Offer &offer,
                                                            const QString &caption)>;
    static std::optional<QList<int>> choose(QWidget *parent, const Offer &offer,
                                            const QString &caption);
    static void setInstance(Chooser chooser);
    static void resetInstance();

private:
    void selectShown(bool checked);
    void showPreviewOf(int row);
    void showCount(int checked);

    Offer m_offer;
    MergeChoiceModel *m_model;
    MergeChoiceFilter *m_filter;
    QLineEdit *m_filterEdit;
    QTableView *m_view;
    QLabel *m_preview;
    QLabel *m_count;
    QDialogButtonBox *m_buttons;
    std::optional<RenderPage> m_previewPage;
};
