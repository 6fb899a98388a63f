#include "desktop/windows/ReportBox.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

QPlainTextEdit* NewReportBox(QWidget* parent, const char* objectName)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QLatin1String(objectName));
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    box->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #c0c0c0; color: black; }"));
    box->setAccessibleName(QStringLiteral("Report block"));
    return box;
}

void ShowReport(QPlainTextEdit& box, const std::string& block)
{
    QString shown = QString::fromStdString(block);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setPlainText(shown);
}
