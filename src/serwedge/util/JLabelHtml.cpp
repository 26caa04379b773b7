#include "serwedge/util/JLabelHtml.h"

#include "serwedge/util/OpenHyperlinkInBrowser.h"

#include <QLabel>

namespace serwedge::util {

QString JLabelHtml::htmlIfy(const QString& text) {
    return QLatin1String(HTML) + text + QLatin1String(HTML_END);
}

QString JLabelHtml::linkIfy(const QString& address, const QString& text) {
    return QLatin1String(A_HREF) + address + QLatin1String(HREF_CLOSED) + text +
           QLatin1String(HREF_END);
}

void JLabelHtml::setText(QLabel* label, const QString& text) {
    label->setTextFormat(text.startsWith(QLatin1String(HTML)) ? Qt::RichText : Qt::PlainText);
    label->setText(text);
}

void JLabelHtml::makeLinkable(QLabel* label) {
    static const char* const kMarker = "tallyraLinkable";
    if (label->property(kMarker).toBool())
        return;
    label->setProperty(kMarker, true);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    // Links go through our own opener, which accepts web addresses only.
    label->setOpenExternalLinks(false);
    QObject::connect(label, &QLabel::linkActivated, label, [label](const QString& link) {
        OpenHyperlinkInBrowser::open(label->window(), link);
    });
}

} // namespace serwedge::util
