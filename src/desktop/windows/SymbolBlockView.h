#pragma once
// One symbol's results block in a window of its own, in the run window's report look, opened from
// the pass table. Esc closes it.

#include <QDialog>

class QPlainTextEdit;

class SymbolBlockView : public QDialog {
    Q_OBJECT
public:
    explicit SymbolBlockView(QWidget* parent = nullptr);

    QPlainTextEdit* BlockText;

    // Shows `block` (CR LF lines, or one line saying why there is none) under `symbol`'s title.
    void Show(const QString& symbol, const std::string& block);
};
