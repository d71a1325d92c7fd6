#include "app/aboutform.h"

#include "app/artwork.h"
#include "app/website.h"
#include "core/producttexts.h"
#include "platform/shell.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

TAboutForm::TAboutForm(QWidget* mainWindow, const QString& version, IShell& shell)
    : QDialog(mainWindow) {
    setObjectName(QStringLiteral("AboutForm"));
    const QString product = QString::fromLatin1(ProductTexts::ProductName);
    setWindowTitle(QStringLiteral("About ") + product);

    auto* picture = new QLabel(this);
    picture->setPixmap(
        Artwork::avatar().scaled(72, 72, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto* name = new QLabel(QStringLiteral("<b>%1</b> version %2").arg(product, version), this);
    auto* text = new QLabel(
        QStringLiteral("Converts the titles and chapters of a video DVD into ordinary video "
                       "files.\nThe encoding is done by MEncoder and FFmpeg."),
        this);
    text->setWordWrap(true);
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(Website::Address), this);
    connect(link, &QLabel::linkActivated, this, [&shell](const QString& url) { shell.open(url); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(text);
    layout->addWidget(link, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
    setFixedWidth(360);
}
