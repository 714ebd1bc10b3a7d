#include "aboutdialog.h"
#include "ui_aboutdialog.h"

#include <QScrollBar>

namespace vireo {

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
    , m_ui(new Ui::AboutDialog)
{
    m_ui->setupUi(this);
    retranslate();
}

AboutDialog::~AboutDialog() = default;

// The program has no web page of its own, so the text links nowhere.
QString AboutDialog::aboutText()
{
    return tr("<html><body style=\"font-family:sans-serif; font-size:11pt;\">"
              "<p align=\"center\"><img src=\":/icon/application-icon-128x128.png\"/></p>"
              "<p align=\"center\" style=\"font-size:14pt; font-weight:bold;\">mensor 2.4</p>"
              "<p align=\"center\"></p>"
              "<p align=\"center\">Copyright &#169; 2026 ortus</p>"
              "<p align=\"center\"></p>"
              "<p align=\"center\">Measures positions on photographs.</p>"
              "<p align=\"center\"></p>"
              "<p align=\"center\" style=\"font-size:9pt;\">Application logo by the mensor developers</p>"
              "<p align=\"center\" style=\"font-size:9pt;\">Icons by the mensor developers, "
              "drawn with the program's own icon script</p>"
              "</body></html>");
}

void AboutDialog::retranslate()
{
    m_ui->retranslateUi(this);
    m_ui->textBrowser->setHtml(aboutText());
    growToText();
}

// The dialog keeps its size as a minimum and grows until the whole text
// shows without scrolling, in every language. The text wraps anew as the
// scroll bar goes, hence a few rounds; once it fits, a round changes nothing.
void AboutDialog::growToText()
{
    if (!isVisible())
        return;
    const QScrollBar *bar = m_ui->textBrowser->verticalScrollBar();
    for (int round = 0; round < 3; ++round)
        resize(width(), height() + bar->maximum());
}

void AboutDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    growToText();
}

void AboutDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

} // namespace vireo
