#include "exam/ui/exportwindows.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>

#include <algorithm>
#include <stdexcept>

namespace tovek::ui {

namespace {

constexpr Qt::WindowFlags kToolWindowFlags = Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                                             | Qt::WindowTitleHint;

void centreOnDesktop(QWidget* window)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace

QFont classicFormFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QPixmap wordDocumentIcon()
{
    QPixmap pixmap(31, 31);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A page with a folded corner and a blue "W" on it.
    QPainterPath page;
    page.moveTo(5.5, 1.5);
    page.lineTo(20.5, 1.5);
    page.lineTo(26.5, 7.5);
    page.lineTo(26.5, 29.5);
    page.lineTo(5.5, 29.5);
    page.closeSubpath();
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.setBrush(Qt::white);
    painter.drawPath(page);
    QPainterPath fold;
    fold.moveTo(20.5, 1.5);
    fold.lineTo(20.5, 7.5);
    fold.lineTo(26.5, 7.5);
    painter.setBrush(QColor(200, 200, 200));
    painter.drawPath(fold);
    painter.setPen(QPen(QColor(160, 160, 160), 1));
    for (int y = 22; y <= 26; y += 2)
        painter.drawLine(QPointF(8.5, y + 0.5), QPointF(23.5, y + 0.5));
    QPolygonF w;
    w << QPointF(7, 9) << QPointF(10, 19) << QPointF(13, 12) << QPointF(16, 19) << QPointF(19.5, 9);
    painter.setPen(QPen(QColor(30, 70, 170), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(w);
    return pixmap;
}

// ---- Tfrm_Selection ----

Tfrm_Selection::Tfrm_Selection(QWidget* parent) : QDialog(parent, kToolWindowFlags)
{
    setObjectName(QStringLiteral("Tfrm_Selection"));
    setModal(true);
    setFont(classicFormFont());
    setFixedSize(322, 123);

    GroupBox = new QGroupBox(this);
    GroupBox->setObjectName(QStringLiteral("GroupBox"));
    GroupBox->setGeometry(8, 8, 225, 113);

    SelectionCombo = new QComboBox(GroupBox);
    SelectionCombo->setObjectName(QStringLiteral("SelectionCombo"));
    SelectionCombo->setGeometry(8, 24, 209, SelectionCombo->sizeHint().height());

    rdo_View = new QRadioButton(GroupBox);
    rdo_View->setObjectName(QStringLiteral("rdo_View"));
    rdo_View->move(8, 60);
    rdo_File = new QRadioButton(GroupBox);
    rdo_File->setObjectName(QStringLiteral("rdo_File"));
    rdo_File->move(8, 80);

    IconImage = new QLabel(GroupBox);
    IconImage->setObjectName(QStringLiteral("IconImage"));
    IconImage->setGeometry(176, 64, 40, 40);
    IconImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    btn_Selection = new QPushButton(this);
    btn_Selection->setObjectName(QStringLiteral("btn_Selection"));
    btn_Selection->setGeometry(240, 8, 75, 25);
    btn_Selection->setDefault(true);
    btn_Cancel = new QPushButton(this);
    btn_Cancel->setObjectName(QStringLiteral("btn_Cancel"));
    btn_Cancel->setGeometry(240, 40, 75, 25);
    btn_Cancel->setAutoDefault(false);
    // Esc rejects any QDialog; the button is the same way out with the mouse.
    connect(btn_Selection, &QPushButton::clicked, this, &QDialog::accept);
    connect(btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrm_Selection::showEvent(QShowEvent* event)
{
    centreOnDesktop(this);
    QDialog::showEvent(event);
}

// ---- Tfrm_ProgressForm ----

Tfrm_ProgressForm::Tfrm_ProgressForm(QWidget* parent) : QWidget(parent, kToolWindowFlags)
{
    setObjectName(QStringLiteral("Tfrm_ProgressForm"));
    setFont(classicFormFont());
    ProgressLabel = new QLabel(this);
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setTextVisible(false);
}

void Tfrm_ProgressForm::start(int rowCount, const TExportMessages& messages)
{
    setWindowTitle(QString::fromStdString(messages.Caption));
    ProgressLabel->setText(QString::fromStdString(messages.Text));
    ProgressLabel->adjustSize();
    ProgressLabel->move(8, 8);

    // The size asked for is the outer one; the frame is known only once the window has one.
    resize(messages.Width, messages.Height);
    centreOnDesktop(this);
    show();
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    resize(std::max(1, messages.Width - frameExtra.width()), std::max(1, messages.Height - frameExtra.height()));
    centreOnDesktop(this);

    const int outerHeight = frameGeometry().height();
    const int clientHeight = height();
    const int barHeight = 16;
    const int top = (outerHeight - clientHeight) + (clientHeight - ProgressLabel->height() - barHeight - 16) / 2;
    ProgressBar->setGeometry(8, top, width() - 16, barHeight);
    ProgressBar->setRange(0, std::max(0, rowCount));
    ProgressBar->setValue(0);

    // Painted before the writing starts; user input waits until the document is written.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
    m_sincePaint.start();
}

void Tfrm_ProgressForm::setRow(int row)
{
    ProgressBar->setValue(row);
    // The writing blocks the event loop; the bar is repainted by hand, a few times a second.
    if (m_sincePaint.isValid() && m_sincePaint.elapsed() >= 50) {
        ProgressBar->repaint();
        m_sincePaint.restart();
    }
}

void Tfrm_ProgressForm::finish()
{
    close();
    m_sincePaint.invalidate();
}

// ---- ExportWindows ----

ExportWindows::ExportWindows(TCustomExport& exporter, Dialogs& dialogs, QWidget* parent)
    : m_exporter(exporter),
      m_dialogs(dialogs),
      m_selection(new Tfrm_Selection(parent)),
      m_progress(new Tfrm_ProgressForm(parent))
{
    // The style follows a click at once, so it is kept even when the window is then cancelled.
    QObject::connect(m_selection->rdo_View, &QRadioButton::toggled, m_selection, [this](bool on) {
        if (on)
            m_exporter.ExportStyle = xsView;
    });
    QObject::connect(m_selection->rdo_File, &QRadioButton::toggled, m_selection, [this](bool on) {
        if (on)
            m_exporter.ExportStyle = xsFile;
    });
    QObject::connect(m_selection->SelectionCombo, &QComboBox::activated, m_selection, [this](int) {
        applySelection();
    });

    m_exporter.OnProgressStart = [this](int rowCount) { m_progress->start(rowCount, m_exporter.Messages); };
    m_exporter.OnProgressRow = [this](int row) { m_progress->setRow(row); };
    m_exporter.OnProgressEnd = [this] { m_progress->finish(); };
    m_exporter.OnOpenDocument = [this](const std::string& path) {
        if (!m_dialogs.openUrl(QUrl::fromLocalFile(QString::fromStdString(path))))
            throw std::runtime_error("Bu bilgisayarda .DOC belgelerini açan bir uygulama bulunamadı. Bir kelime "
                                     "işlemci kurun ya da belgeyi \"Dosyaya Kaydet\" ile kaydedin.");
    };
}

void ExportWindows::prepareSelection()
{
    const TExportMessages& messages = m_exporter.Messages;
    m_selection->setWindowTitle(QString::fromStdString(messages.Caption));
    m_selection->btn_Selection->setText(accelText(messages.ExportCaption));
    m_selection->btn_Cancel->setText(accelText(messages.CancelCaption));
    m_selection->GroupBox->setTitle(QStringLiteral(" %1 ").arg(accelText(messages.SelectFormat)));
    m_selection->rdo_View->setText(accelText(messages.ViewOnly));
    m_selection->rdo_File->setText(accelText(messages.ExportToFile));
    m_selection->rdo_View->adjustSize();
    m_selection->rdo_File->adjustSize();

    auto& types = m_exporter.ExportTypes;
    if (std::find(types.begin(), types.end(), m_exporter.ExportType) == types.end())
        types.push_back(m_exporter.ExportType);
    QComboBox* combo = m_selection->SelectionCombo;
    combo->clear();
    for (const TExportType type : types)
        combo->addItem(QString::fromStdString(exportTypeName(type)), static_cast<int>(type));
    combo->setCurrentIndex(static_cast<int>(std::find(types.begin(), types.end(), m_exporter.ExportType) - types.begin()));
    combo->setMaxVisibleItems(std::max(1, combo->count()));

    // Checking one button unchecks the other, and the toggle handlers store the same style back.
    if (m_exporter.ExportStyle == xsView)
        m_selection->rdo_View->setChecked(true);
    else
        m_selection->rdo_File->setChecked(true);
    applySelection();
}

void ExportWindows::applySelection()
{
    m_selection->rdo_View->setEnabled(true);
    m_selection->rdo_File->setEnabled(true);
    const int index = m_selection->SelectionCombo->currentIndex();
    if (index >= 0 && index < static_cast<int>(m_exporter.ExportTypes.size()))
        m_exporter.ExportType = m_exporter.ExportTypes[static_cast<std::size_t>(index)];
    // Word is the only format there is, so its picture is the only one to show.
    m_selection->IconImage->setPixmap(wordDocumentIcon());
}

ExportWindows::Outcome ExportWindows::Execute()
{
    prepareSelection();
    if (m_selection->exec() != QDialog::Accepted)
        return Outcome::Cancelled;
    return m_exporter.RunExport() ? Outcome::Written : Outcome::Failed;
}

} // namespace tovek::ui
