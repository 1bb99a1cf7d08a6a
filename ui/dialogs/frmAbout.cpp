// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmAbout.h"
#include "ui_frmAbout.h"

#include "Fonts.h"
#include "Pictures.h"
#include "Version.h"

namespace {

// Updated with each release; the version number comes from the build.
constexpr auto kReleased = QT_TRANSLATE_NOOP("frmAbout", "December 2026");

} // namespace

frmAbout::frmAbout(QWidget* parent) : QWidget(parent, Qt::Window), m_ui(new Ui::frmAbout)
{
    Fonts::installFallbacks();
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(Fonts::msSansSerif());
    m_ui->setupUi(this);
    setWindowIcon(Pictures::windowIcon());

    m_ui->Label1->setFont(Fonts::comicSansMs(18, true));
    m_ui->Label4->setFont(Fonts::comicSansMs(9.75));
    m_ui->Label2->setFont(Fonts::comicSansMs(8.25));
    m_ui->Label3->setFont(Fonts::comicSansMs(8.25));
    m_ui->Label5->setFont(Fonts::comicSansMs(8.25));
    m_ui->Image1->setPixmap(Pictures::image1());
    m_ui->Label2->setText(tr("Version %1").arg(QLatin1String(GEOFILL_VERSION)));
    m_ui->Label3->setText(releaseNotice());

    connect(m_ui->cmdAbout, &QPushButton::clicked, this, &QWidget::close);
    m_ui->cmdAbout->setFocus();
}

frmAbout::~frmAbout() = default;

QString frmAbout::releaseNotice()
{
    return tr("Free to use and to share. Released %1").arg(tr(kReleased));
}
