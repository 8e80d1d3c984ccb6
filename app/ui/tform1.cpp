#include "app/ui/tform1.h"

#include "app/ui/activeflagcommands.h"
#include "app/ui/application.h"
#include "app/ui/tform5.h"
#include "app/ui/tform6.h"
#include "app/ui/zoomcommands.h"
#include "exam/random.h"
#include "exam/ui/examcommand.h"
#include "exam/ui/tform2.h"
#include "exam/ui/tform7.h"
#include "store/ui/tform9.h"
#include "update/ui/tform4.h"
#include "update/ui/tform8.h"
#include "update/ui/updatecheck.h"
#include "app/ui/icons.h"
#include "app/ui/questiongrid.h"
#include "app/version.h"
#include "store/paths.h"
#include "store/questionfile.h"
#include "store/questionjson.h"
#include "store/ui/tform3.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyleOptionToolButton>
#include <QToolBar>
#include <QToolButton>
#include <QTimer>
#include <QToolTip>

// The resources live in a static library; nothing would pull them in without this.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace tovek::ui {

namespace {

constexpr int kClientWidth = 628;
constexpr int kClientHeight = 525;
constexpr int kDockHeight = 39;
constexpr int kStatusHeight = 20;
constexpr int kHintShowMs = 10000;
constexpr const char* kHintProperty = "hint";
constexpr const char* kSampleBankName = "ÖRNEK.DB";

const std::array<const char*, 6> kEditorFields = {fld::SORUKOKU, fld::YANITA, fld::YANITB,
                                                  fld::YANITC,   fld::YANITD, fld::YANITE};
const std::array<const char*, 6> kEditorNames = {"SoruKokuDBMemo", "YanitADBMemo", "YanitBDBMemo",
                                                 "YanitCDBMemo",   "YanitDDBMemo", "YanitEDBMemo"};
const std::array<const char*, 6> kZoomNames = {"SoruKokuToolbarButton", "YanitAToolbarButton", "YanitBToolbarButton",
                                               "YanitCToolbarButton",   "YanitDToolbarButton", "YanitEToolbarButton"};
const std::array<const char*, 6> kZoomCaptions = {"Soru Kökü", "Yanıt A", "Yanıt B", "Yanıt C", "Yanıt D", "Yanıt E"};

QString fromStd(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string toStd(const QString& s)
{
    const QByteArray bytes = s.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Stored memo texts use CR LF; the editors use their own line breaks.
QString forEditor(const std::string& stored)
{
    QString text = fromStd(stored);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

std::string forStorage(const QString& edited)
{
    return normalizeLineBreaks(toStd(edited));
}

void setHint(QWidget* widget, const QString& hint)
{
    widget->setProperty(kHintProperty, hint);
    QString shown = hint;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    widget->setToolTip(shown);
}

// A narrow button with its icon above a word-wrapped caption, as the zoom buttons need.
class ZoomButton : public QToolButton
{
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        style()->drawComplexControl(QStyle::CC_ToolButton, &option, &p, this);
        const int iconSide = 18;
        const QRect iconRect((width() - iconSide) / 2, 4, iconSide, iconSide);
        icon().paint(&p, iconRect, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
        p.setPen(isEnabled() ? QColor(Qt::blue) : palette().color(QPalette::Disabled, QPalette::WindowText));
        p.setFont(font());
        p.drawText(QRect(1, iconRect.bottom() + 3, width() - 2, height() - iconRect.bottom() - 4),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text());
    }
};

} // namespace

TForm1::TForm1(Dialogs& dialogs, const QString& programDir, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs),
      m_programDir(programDir.isEmpty() ? executableDirectory() : toStd(programDir))
{
    // Every conversion between text and number relies on these formats, so they come first.
    applyRegionalFormats();
    initResources();

    setObjectName(QStringLiteral("TForm1"));
    m_dataSource = std::make_unique<DataSource>(m_table, this);
    m_table.beforeInsert = [this] { Table1BeforeInsert(); };
    m_table.onNewRecord = [this] { Table1NewRecord(); };
    m_table.beforeDelete = [this] { Table1BeforeDelete(); };
    m_table.afterDelete = [this] { Table1AfterDelete(); };

    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    buildToolbar();
    buildPanel();
    buildMenus();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));

    connect(m_dataSource.get(), &DataSource::changed, this, &TForm1::DataSource1DataChange);
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this] { placeCheckBox(); });

    startUp();
    createWindows();
    DataSource1DataChange();
}

TForm1::~TForm1()
{
    // The child widgets outlive this part of the object; their focus and selection signals must
    // no longer reach it while the base class deletes them.
    qApp->removeEventFilter(this);
    QObject::disconnect(qApp, nullptr, this, nullptr);
    m_grid->selectionModel()->disconnect(this);
    m_grid->disconnect(this);
    m_table.beforeInsert = nullptr;
    m_table.onNewRecord = nullptr;
    m_table.beforeDelete = nullptr;
    m_table.afterDelete = nullptr;
    m_dataSource.reset();
    m_table.close();
}

void TForm1::guarded(const std::function<void()>& command)
{
    runGuarded(m_dialogs, this, command);
}

void TForm1::connectHandler(QToolButton* button, void (TForm1::*handler)())
{
    connect(button, &QToolButton::clicked, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
}

void TForm1::connectHandler(QAction* action, void (TForm1::*handler)())
{
    connect(action, &QAction::triggered, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
}

// ------------------------------------------------------------------ layout

void TForm1::buildToolbar()
{
    m_toolbar = new QToolBar(QStringLiteral("Tovek Toolbar"), this);
    m_toolbar->setObjectName(QStringLiteral("BtnToolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setFixedHeight(kDockHeight);
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setContentsMargins(0, 0, 0, 0);
    m_toolbar->layout()->setSpacing(1);
    m_toolbar->layout()->setContentsMargins(2, 2, 2, 2);
    addToolBar(Qt::TopToolBarArea, m_toolbar);

    QFont captionFont = font();
    captionFont.setPixelSize(9);
    auto addButton = [&](const char* name, const QString& caption, const QString& hint, icons::Glyph glyph,
                         int width) {
        auto* b = new QToolButton(m_toolbar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setIcon(icons::icon(glyph));
        b->setIconSize(QSize(16, 16));
        b->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFont(captionFont);
        b->setFixedSize(width, 35);
        setHint(b, hint);
        m_toolbar->addWidget(b);
        return b;
    };
    m_dosyaSecButton = addButton("DosyaSecToolbarButton", QStringLiteral("Dosya"), QStringLiteral("Dosya Seç"),
                                 icons::Glyph::Folder, 45);
    m_ksboButton = addButton("KSBOToolbarButton", QStringLiteral("Karıştır"),
                             QStringLiteral("Karıştırılmış Soru Belgesi Oluştur"), icons::Glyph::Shuffle, 45);
    m_aktifButton = addButton("AktifToolbarButton", QStringLiteral("Aktif OFF"),
                              QStringLiteral("AKTIF Edilmiş Soruları Göster"), icons::Glyph::Filter, 45);
    m_ykaButton = addButton("YKAToolbarButton", QStringLiteral("Yardımcı"), QStringLiteral("Yardımcıları Kapat"),
                            icons::Glyph::Hints, 45);
    m_bilgiButton = addButton("BilgiToolbarButton", QStringLiteral("Bilgi"), QStringLiteral("Program Hakkında"),
                              icons::Glyph::Info, 45);
    m_toolbar->addSeparator();
    m_birlestirButton = addButton("BirlestirToolbarButton", QStringLiteral("Birleştir"),
                                  QStringLiteral("İki Dosyayı Birleştir"), icons::Glyph::Merge, 45);
    m_checkUpdateButton = addButton("CheckUpdateToolbarButton", QString(), QStringLiteral("Yeni Version Var mı"),
                                    icons::Glyph::Update, 45);
    m_kapatButton = addButton("KapatToolbarButton", QStringLiteral("Programı Kapat"), QStringLiteral("Programı Kapat"),
                              icons::Glyph::Exit, 86);

    connectHandler(m_dosyaSecButton, &TForm1::DosyaSecToolbarButtonClick);
    connectHandler(m_ksboButton, &TForm1::KSBOToolbarButtonClick);
    connectHandler(m_aktifButton, &TForm1::AktifToolbarButtonClick);
    connectHandler(m_ykaButton, &TForm1::YKAToolbarButtonClick);
    connectHandler(m_bilgiButton, &TForm1::BilgiToolbarButtonClick);
    connectHandler(m_birlestirButton, &TForm1::BirlestirToolbarButtonClick);
    connectHandler(m_checkUpdateButton, &TForm1::CheckUpdateToolbarButtonClick);
    connectHandler(m_kapatButton, &TForm1::KapatToolbarButtonClick);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setFixedHeight(kStatusHeight);
    m_statusBar->setAutoFillBackground(true);
    QPalette yellow = m_statusBar->palette();
    yellow.setColor(QPalette::Window, QColor(255, 255, 0));
    m_statusBar->setPalette(yellow);
    m_statusLabel = new QLabel(m_statusBar);
    m_statusLabel->setObjectName(QStringLiteral("StatusBar1Text"));
    m_statusLabel->setTextFormat(Qt::PlainText);
    m_statusBar->addWidget(m_statusLabel, 1);
    setStatusBar(m_statusBar);
}

void TForm1::buildPanel()
{
    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    setCentralWidget(m_panel);

    m_dosyaAdiEdit = new QLineEdit(m_panel);
    m_dosyaAdiEdit->setObjectName(QStringLiteral("DosyaAdiEdit"));
    m_dosyaAdiEdit->setGeometry(4, 4, 617, 21);
    m_dosyaAdiEdit->setReadOnly(true);
    m_dosyaAdiEdit->setFocusPolicy(Qt::ClickFocus);
    QFont bold = m_dosyaAdiEdit->font();
    bold.setBold(true);
    m_dosyaAdiEdit->setFont(bold);
    QPalette silver = m_dosyaAdiEdit->palette();
    silver.setColor(QPalette::Base, QColor(192, 192, 192));
    m_dosyaAdiEdit->setPalette(silver);

    m_label6 = new QLabel(QStringLiteral("SORU 1"), m_panel);
    m_label6->setObjectName(QStringLiteral("Label6"));
    m_label6->setGeometry(4, 31, 89, 13);
    QFont labelFont = m_label6->font();
    labelFont.setBold(true);
    labelFont.setPixelSize(11);
    // The number is padded with blanks; a fixed pitch keeps it right-aligned on screen too.
    labelFont.setFamily(QStringLiteral("Courier New"));
    labelFont.setStyleHint(QFont::TypeWriter);
    m_label6->setFont(labelFont);
    QPalette blue = m_label6->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    m_label6->setPalette(blue);

    m_navigator = new DBNavigator(m_panel);
    m_navigator->setObjectName(QStringLiteral("DBNavigator971"));
    m_navigator->setGeometry(132, 29, 450, 20);
    connect(m_navigator, &DBNavigator::clicked, this,
            [this](DBNavigator::Button b) { guarded([&] { DBNavigator971Click(b); }); });

    m_grid = new QuestionGrid(m_panel);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setGeometry(4, 53, 125, 404);
    QFont gridFont = m_grid->font();
    gridFont.setPixelSize(11);
    m_grid->setFont(gridFont);
    QFont titleFont = gridFont;
    titleFont.setPixelSize(10);
    m_grid->horizontalHeader()->setFont(titleFont);
    m_model = new QuestionModel(m_table, m_grid);
    m_grid->setModel(m_model);
    m_grid->setColumnWidth(QuestionModel::SorunoColumn, 50);
    m_grid->setColumnWidth(QuestionModel::AktifColumn, 35);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    setHint(m_grid, QStringLiteral("Yeni soru eklemek için + butonunu kullanabilirsiniz.\r\n\r\nAyrıca\r\n\r\n"
                                   "Özel İşlemler Menüsü İçin Sağ Click Yapabilirsiniz."));
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { gridCurrentChanged(); });
    connect(m_grid, &QuestionGrid::focusChanged, this, [this] { placeCheckBox(); });
    connect(m_grid, &QuestionGrid::activeColumnKey, this, &TForm1::passKeyToCheckBox);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_gridMenu->popup(m_grid->viewport()->mapToGlobal(pos)); });

    QFont memoFont(QStringLiteral("Courier New"));
    memoFont.setPixelSize(13);
    memoFont.setStyleHint(QFont::TypeWriter);
    const int editorTops[6] = {51, 133, 198, 263, 328, 393};
    const int zoomTops[6] = {54, 134, 200, 265, 330, 395};
    for (int i = 0; i < 6; ++i) {
        auto* memo = new QPlainTextEdit(m_panel);
        memo->setObjectName(QString::fromLatin1(kEditorNames[i]));
        if (i == 0)
            memo->setGeometry(131, editorTops[i], 450, 80);
        else
            memo->setGeometry(181, editorTops[i], 400, 65);
        memo->setFont(memoFont);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setTabChangesFocus(true);
        memo->setReadOnly(true);
        memo->setContextMenuPolicy(Qt::CustomContextMenu);
        if (i == 0) {
            setHint(memo, QStringLiteral("Soru kökünü buraya yazınız veya yapıştırınız.\r\nSoru numarası vermeyiniz."));
        } else {
            const QString letter(QChar('A' + i - 1));
            setHint(memo, QStringLiteral("%1 Şıkkını buraya yazınız veya yapıştırınız.\r\n%1) gibi ifadeler "
                                         "koymayınız.")
                              .arg(letter));
        }
        connect(memo, &QPlainTextEdit::textChanged, this, [this, i] { editorTextChanged(i); });
        connect(memo, &QWidget::customContextMenuRequested, this,
                [this, memo](const QPoint& pos) { m_editorMenu->popup(memo->mapToGlobal(pos)); });
        m_editors[i] = memo;

        auto* zoom = new ZoomButton(m_panel);
        zoom->setObjectName(QString::fromLatin1(kZoomNames[i]));
        zoom->setText(QString::fromUtf8(kZoomCaptions[i]));
        zoom->setIcon(icons::icon(icons::Glyph::Zoom));
        zoom->setGeometry(585, zoomTops[i], 36, i == 0 ? 75 : 61);
        zoom->setFocusPolicy(Qt::NoFocus);
        zoom->setAutoRaise(false);
        QFont zoomFont = zoom->font();
        zoomFont.setBold(true);
        zoomFont.setPixelSize(10);
        zoom->setFont(zoomFont);
        setHint(zoom, QStringLiteral("Zoom: ") + QString::fromUtf8(kZoomCaptions[i]));
        m_zoomButtons[i] = zoom;
    }
    connectHandler(m_zoomButtons[0], &TForm1::SoruKokuToolbarButtonClick);
    connectHandler(m_zoomButtons[1], &TForm1::YanitAToolbarButtonClick);
    connectHandler(m_zoomButtons[2], &TForm1::YanitBToolbarButtonClick);
    connectHandler(m_zoomButtons[3], &TForm1::YanitCToolbarButtonClick);
    connectHandler(m_zoomButtons[4], &TForm1::YanitDToolbarButtonClick);
    connectHandler(m_zoomButtons[5], &TForm1::YanitEToolbarButtonClick);

    m_radioGroup = new QGroupBox(QStringLiteral("D.Şık"), m_panel);
    m_radioGroup->setObjectName(QStringLiteral("DogruYanitDBRadioGroup"));
    m_radioGroup->setGeometry(131, 132, 49, 325);
    setHint(m_radioGroup, QStringLiteral("Doğru yanıtı buraya işaretleyiniz."));
    m_radioButtons = new QButtonGroup(this);
    m_radioButtons->setExclusive(true);
    for (int i = 0; i < 5; ++i) {
        auto* radio = new QRadioButton(QString(QChar('A' + i)), m_radioGroup);
        radio->setObjectName(QStringLiteral("DogruYanitRadio%1").arg(QChar('A' + i)));
        // Level with the option editors beside the group.
        radio->setGeometry(6, editorTops[i + 1] - 132 + 22, 40, 20);
        m_radioButtons->addButton(radio, i);
        m_radios[i] = radio;
    }
    connect(m_radioButtons, &QButtonGroup::idClicked, this, [this](int id) { radioClicked(id); });

    m_checkBox = new QCheckBox(m_panel);
    m_checkBox->setObjectName(QStringLiteral("DBCheckBox1"));
    m_checkBox->setText(QString());
    m_checkBox->hide();
}

void TForm1::buildMenus()
{
    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("DataGridPopupMenu"));
    auto addItem = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    auto addSeparator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };
    connectHandler(addItem(m_gridMenu, "DGP1", QStringLiteral("AKTIF DURUMU")), &TForm1::DGP1Click);
    addSeparator(m_gridMenu, "DGN1");
    connectHandler(addItem(m_gridMenu, "DGP2", QStringLiteral("Tüm Sorularda AKTIF ON Olsun")), &TForm1::DGP2Click);
    connectHandler(addItem(m_gridMenu, "DGP3", QStringLiteral("Tüm Sorularda AKTIF OFF Olsun")), &TForm1::DGP3Click);
    addSeparator(m_gridMenu, "DGN2");
    connectHandler(addItem(m_gridMenu, "DGP4", QStringLiteral("İstenilen Sayıda Rastgele Soru Aktif Hale Getirme")),
                   &TForm1::DGP4Click);

    m_editorMenu = new QMenu(this);
    m_editorMenu->setObjectName(QStringLiteral("PopupSoruKokuMenu"));
    connectHandler(addItem(m_editorMenu, "PS1", QStringLiteral("Hepsini Seç")), &TForm1::PS1Click);
    addSeparator(m_editorMenu, "NS1");
    connectHandler(addItem(m_editorMenu, "PS2", QStringLiteral("Kes")), &TForm1::PS2Click);
    connectHandler(addItem(m_editorMenu, "PS3", QStringLiteral("Kopyala")), &TForm1::PS3Click);
    connectHandler(addItem(m_editorMenu, "PS4", QStringLiteral("Yapıştır")), &TForm1::PS4Click);
}

// ------------------------------------------------------------------ start-up and closing

void TForm1::startUp()
{
    setWindowTitle(QStringLiteral("TOVEK Ver ") + QString::fromLatin1(kInstalledVersion) + QStringLiteral(" ") +
                   QString::fromUtf8(kNotice));
    setHint(m_ykaButton, QStringLiteral("Yardımcıları Kapat"));
    m_hintsShown = true;
    // Hints show at once and stay up for kHintShowMs: see eventFilter.

    m_dataDir = dataDirFor(m_programDir);
    bool created = false;
    try {
        created = ensureDataDir(m_dataDir);
    } catch (...) {
        // The window still opens; only the overlay check box stays unbound.
        reportException(m_dialogs, this, std::current_exception());
        return;
    }
    if (created)
        guarded([this] { createSampleBank(); });

    m_checkBoxBound = true;
    connect(m_checkBox, &QCheckBox::clicked, this, [this](bool checked) { guarded([&] { DBCheckBox1Click(checked); }); });
}

void TForm1::createSampleBank()
{
    QFile resource(QStringLiteral(":/ornek.json"));
    if (!resource.open(QIODevice::ReadOnly))
        throw EngineError("Örnek soru bankası programın içinde bulunamadı");
    const QByteArray json = resource.readAll();
    createQuestionFileWith(m_dataDir + kSampleBankName,
                           questionsFromJson(std::string(json.constData(), json.size())));
}

void TForm1::createWindows()
{
    // The windows of the program are created once, in this order, and live until the program ends.
    const QString dataDir = fromStd(m_dataDir);
    m_form2 = new TForm2(m_dialogs, dataDir, this);
    m_form3 = new TForm3(m_dialogs, m_dataDir, this);
    m_form4 = new TForm4(m_dialogs, this);
    m_form5 = new TForm5(m_dialogs, this);
    m_form6 = new TForm6(this);
    m_form7 = new TForm7(this);
    m_form8 = new TForm8(m_dialogs, this);
    m_form9 = new TForm9(m_dialogs, dataDir, this);
    m_updateCheck = std::make_unique<UpdateCheck>(m_dialogs, this, *m_form8);
    connect(this, &TForm1::fileOpened, m_form5, &TForm5::resetRequestedCount);

    ExamCommandContext exam;
    exam.table = &m_table;
    exam.dialogs = &m_dialogs;
    exam.parent = this;
    exam.panel = m_panel;
    exam.toolbar = m_toolbar;
    exam.setStatus = [this](const QString& text) { setStatusText(text); };
    exam.form7 = m_form7;
    exam.form2 = m_form2;
    exam.dataDir = dataDir;
    m_examCommand = std::make_unique<ExamCommand>(std::move(exam));
}

void TForm1::closeEvent(QCloseEvent* event)
{
    m_dataSource->close();
    event->accept();
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_activatedOnce) {
        m_activatedOnce = true;
        // Once the window has finished becoming active, so that it paints before the request goes out.
        QTimer::singleShot(0, this, [this] { runStartupUpdateCheck(); });
    }
}

void TForm1::runStartupUpdateCheck()
{
    m_updateCheck->run(update::CheckMode::Silent);
}

// ------------------------------------------------------------------ hints and status bar

void TForm1::setStatusText(const QString& text)
{
    m_statusLabel->setText(text);
}

QString TForm1::statusText() const
{
    return m_statusLabel->text();
}

void TForm1::showHintOf(QWidget* widget)
{
    QWidget* w = widget;
    while (w && w != this && w->property(kHintProperty).toString().isEmpty())
        w = w->parentWidget();
    const QString hint = w ? w->property(kHintProperty).toString() : QString();
    QString line = hint;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    setStatusText(line);
    const bool ownHints = w && m_navigator->isAncestorOf(w);
    if (!hint.isEmpty() && (m_hintsShown || ownHints) && w->isVisible())
        QToolTip::showText(QCursor::pos(), w->toolTip(), w, QRect(), kHintShowMs);
    else
        QToolTip::hideText();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Enter || type == QEvent::Leave || type == QEvent::ToolTip) && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget == this || isAncestorOf(widget)) {
            if (type == QEvent::ToolTip)
                return true; // shown at once on entering instead, see showHintOf
            if (type == QEvent::Enter)
                showHintOf(widget);
            else if (widget != this)
                showHintOf(widget->parentWidget());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::YKAToolbarButtonClick()
{
    m_hintsShown = !m_hintsShown;
    setHint(m_ykaButton, m_hintsShown ? QStringLiteral("Yardımcıları Kapat") : QStringLiteral("Yardımcıları Aç"));
    if (!m_hintsShown)
        QToolTip::hideText();
}

// ------------------------------------------------------------------ binding the record to the controls

void TForm1::DataSource1DataChange()
{
    guarded([this] {
        m_model->refresh();
        m_navigator->updateButtons(m_table);
        const bool open = m_table.isOpen();
        if (open)
            m_label6->setText(QStringLiteral("SORU : ") +
                              QString::asprintf("%4lld", m_table.isEmptyTable() && m_table.state() != TableState::Insert
                                                             ? 0LL
                                                             : m_table.asInteger(fld::SORUNO)));
        for (QPlainTextEdit* memo : m_editors)
            memo->setReadOnly(!open);
        m_radioGroup->setEnabled(open);
        if (!m_applying)
            loadFieldControls();
        syncGridToTable();
        placeCheckBox();
    });
}

void TForm1::loadFieldControls()
{
    const bool hasRecord =
        m_table.isOpen() && (!m_table.isEmptyTable() || m_table.state() == TableState::Insert);
    m_loading = true;
    try {
        for (int i = 0; i < 6; ++i) {
            const QString text = hasRecord ? forEditor(m_table.asText(kEditorFields[i])) : QString();
            // Only a real difference is loaded, so the caret stays where the user left it.
            if (m_editors[i]->toPlainText() != text)
                m_editors[i]->setPlainText(text);
        }
        const QString letter = hasRecord ? fromStd(m_table.asText(fld::DOGRUYANIT)) : QString();
        QAbstractButton* chosen = nullptr;
        for (QRadioButton* radio : m_radios)
            if (radio->text() == letter)
                chosen = radio;
        if (chosen) {
            chosen->setChecked(true);
        } else if (m_radioButtons->checkedButton()) {
            m_radioButtons->setExclusive(false);
            m_radioButtons->checkedButton()->setChecked(false);
            m_radioButtons->setExclusive(true);
        }
        m_checkBox->setChecked(hasRecord && m_table.asBoolean(fld::AKTIF));
    } catch (...) {
        m_loading = false;
        throw;
    }
    m_loading = false;
}

void TForm1::editCurrentRecord()
{
    if (!m_table.isOpen())
        throw EngineError("Soru dosyası açık değil");
    const bool wasEmpty = m_table.isEmptyTable();
    m_table.edit();
    // In an empty file edit() added and stored question 1; the user's change goes into it.
    if (wasEmpty && m_table.state() == TableState::Browse)
        m_table.edit();
}

void TForm1::applyUserChange(const std::function<void()>& write)
{
    if (!m_table.isOpen()) {
        loadFieldControls();
        return;
    }
    m_applying = true;
    try {
        if (m_table.state() == TableState::Browse)
            editCurrentRecord();
        write();
    } catch (...) {
        m_applying = false;
        // The control must not show a value that the record does not hold.
        DataSource1DataChange();
        throw;
    }
    m_applying = false;
}

void TForm1::editorTextChanged(int index)
{
    if (m_loading)
        return;
    guarded([&] {
        const std::string text = forStorage(m_editors[index]->toPlainText());
        applyUserChange([&] { m_table.setText(kEditorFields[index], text); });
    });
}

void TForm1::setEditorText(int index, const QString& text)
{
    m_loading = true;
    m_editors.at(index)->setPlainText(text);
    m_loading = false;
    const std::string stored = forStorage(text);
    applyUserChange([&] { m_table.setText(kEditorFields[index], stored); });
}

void TForm1::radioClicked(int index)
{
    if (m_loading)
        return;
    guarded([&] {
        const std::string letter(1, static_cast<char>('A' + index));
        applyUserChange([&] { m_table.setText(fld::DOGRUYANIT, letter); });
    });
}

void TForm1::DBCheckBox1Click(bool checked)
{
    if (m_loading || !m_checkBoxBound)
        return;
    applyUserChange([&] { m_table.setBoolean(fld::AKTIF, checked); });
}

// ------------------------------------------------------------------ grid and overlay check box

void TForm1::syncGridToTable()
{
    m_syncingGrid = true;
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        m_gridColumn = current.column();
    if (m_table.isOpen() && !m_table.isEmptyTable()) {
        const QModelIndex wanted = m_model->index(m_table.position(), m_gridColumn);
        if (wanted != current)
            m_grid->setCurrentIndex(wanted);
        m_grid->scrollTo(wanted);
    } else if (current.isValid()) {
        m_grid->setCurrentIndex(QModelIndex());
    }
    m_syncingGrid = false;
}

void TForm1::gridCurrentChanged()
{
    if (m_syncingGrid)
        return;
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        m_gridColumn = current.column();
    if (current.isValid() && m_table.isOpen() && current.row() != m_table.position()) {
        const int row = current.row();
        guarded([&] {
            try {
                // Storing the pending edit can take the current question out of the filtered view, which
                // shifts the rows below it; the move must reach the question the user picked, not its row.
                if (!m_table.findKey(m_table.keyAt(row)))
                    m_table.moveTo(row);
            } catch (...) {
                syncGridToTable();
                throw;
            }
        });
    }
    placeCheckBox();
}

void TForm1::placeCheckBox()
{
    if (!m_checkBox || !m_grid)
        return;
    const QModelIndex current = m_grid->currentIndex();
    QWidget* focus = QApplication::focusWidget();
    const bool focused = focus == m_grid || focus == m_checkBox;
    const bool show = m_checkBoxBound && m_table.isOpen() && current.isValid() &&
                      current.column() == QuestionModel::AktifColumn && focused;
    if (!show) {
        if (m_checkBox->isVisible()) {
            const bool hadFocus = focus == m_checkBox;
            m_checkBox->hide();
            if (hadFocus)
                m_grid->setFocus();
        }
        return;
    }
    const QRect cell = m_grid->visualRect(current);
    const QPoint topLeft = m_grid->viewport()->mapTo(m_panel, cell.topLeft());
    m_checkBox->setGeometry(QRect(topLeft, cell.size()));
    m_checkBox->setAutoFillBackground(true);
    QPalette background = m_checkBox->palette();
    background.setColor(QPalette::Window, m_grid->palette().color(QPalette::Base));
    m_checkBox->setPalette(background);
    m_checkBox->show();
    m_checkBox->raise();
}

void TForm1::passKeyToCheckBox(int key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    placeCheckBox();
    if (!m_checkBox->isVisible())
        return;
    m_checkBox->setFocus();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(m_checkBox, &press);
    QApplication::sendEvent(m_checkBox, &release);
}

// ------------------------------------------------------------------ table events

void TForm1::EnsureFilterOff()
{
    if (!m_table.filtered())
        return;
    m_dialogs.information(this, QStringLiteral("BU İŞLEM İÇİN ") + QChar('"') + QStringLiteral("AKTİF KAYITLARI GÖSTER") +
                                    QChar('"') + QStringLiteral(" BUTONU OFF OLMALIDIR."));
    throw Abort();
}

bool TForm1::requireOpenFile()
{
    if (m_table.isOpen())
        return true;
    m_dialogs.information(this, QStringLiteral("Önce Soru Dosyası Açınız..."));
    return false;
}

void TForm1::Table1BeforeInsert()
{
    EnsureFilterOff();
}

void TForm1::Table1NewRecord()
{
    // Numbers run 1..n without gaps, so the next free number is the count plus one; the question is
    // stored at once so that it never exists only on screen.
    m_table.setInteger(fld::SORUNO, m_table.recordCount() + 1);
    m_table.post();
}

void TForm1::Table1BeforeDelete()
{
    EnsureFilterOff();
}

void TForm1::Table1AfterDelete()
{
    renumberQuestions(m_table);
}

void TForm1::deleteCurrentQuestion()
{
    if (!m_dialogs.confirmYesNo(this, QStringLiteral("Kayıt Silme Onayı"), QStringLiteral("Kayıt Silinsin mi ?")))
        return;
    ControlsDisabled hold(*m_dataSource);
    // The deletion and the renumbering that follows it are stored together or not at all.
    m_table.beginTransaction();
    try {
        m_table.remove();
        m_table.commit();
    } catch (...) {
        m_table.rollback();
        throw;
    }
}

void TForm1::DBNavigator971Click(DBNavigator::Button button)
{
    switch (button) {
    case DBNavigator::First:
        m_table.first();
        break;
    case DBNavigator::Prior:
        m_table.prior();
        break;
    case DBNavigator::Next:
        m_table.next();
        break;
    case DBNavigator::Last:
        m_table.last();
        break;
    case DBNavigator::Insert:
        m_table.insert();
        break;
    case DBNavigator::Delete:
        deleteCurrentQuestion();
        break;
    case DBNavigator::Edit:
        editCurrentRecord();
        break;
    case DBNavigator::Post:
        m_table.post();
        break;
    case DBNavigator::Cancel:
        m_table.cancel();
        break;
    }
}

// ------------------------------------------------------------------ toolbar commands

void TForm1::DosyaSecToolbarButtonClick()
{
    m_form3->ListQuestionFiles();
    if (m_form3->exec() != QDialog::Accepted)
        return;
    openListedFile(m_form3->selectedPath());
}

void TForm1::openListedFile(const QString& listedPath)
{
    const std::string shown = withQuestionExtension(toStd(listedPath));
    m_dosyaAdiEdit->setText(fromStd(shown));
    m_dataSource->close();
    // Where letter case matters, a listed x.db must open x.db itself, not a new x.DB beside it.
    const std::string onDisk = questionFileOnDisk(shown);
    createQuestionFile(m_dataDir, fileNamePart(onDisk));
    m_table.setDirectory(m_dataDir);
    m_table.setTableName(onDisk);
    upgradeQuestionFile(m_dataDir, onDisk);
    m_dataSource->open();
    emit fileOpened();
}

void TForm1::KSBOToolbarButtonClick()
{
    EnsureFilterOff();
    m_examCommand->KSBOToolbarButtonClick();
}

void TForm1::setActiveFilter(bool on)
{
    m_dataSource->setFiltered(on);
    updateAktifButton();
}

void TForm1::AktifToolbarButtonClick()
{
    setActiveFilter(!m_table.filtered());
}

void TForm1::updateAktifButton()
{
    // The caption tells the current state, the hint what the next click does.
    if (m_table.filtered()) {
        m_aktifButton->setText(QStringLiteral("Aktif ON"));
        setHint(m_aktifButton, QStringLiteral("Tüm Soruları Göster"));
    } else {
        m_aktifButton->setText(QStringLiteral("Aktif OFF"));
        setHint(m_aktifButton, QStringLiteral("AKTIF Edilmiş Soruları Göster"));
    }
}

void TForm1::BilgiToolbarButtonClick()
{
    m_form4->exec();
}

void TForm1::BirlestirToolbarButtonClick()
{
    // The merge works on files that may be the open one; an unposted change is dropped.
    m_dataSource->close();
    m_form9->exec(); // Table1 stays closed afterwards, whatever the outcome
}

void TForm1::CheckUpdateToolbarButtonClick()
{
    m_updateCheck->run(update::CheckMode::Interactive);
}

void TForm1::KapatToolbarButtonClick()
{
    close();
}

void TForm1::zoomButtonClick(int index)
{
    zoomCommand(index, m_table, m_editors.at(index), *m_form6, m_dialogs, this, [this] { editCurrentRecord(); });
}

void TForm1::SoruKokuToolbarButtonClick()
{
    zoomButtonClick(0);
}

void TForm1::YanitAToolbarButtonClick()
{
    zoomButtonClick(1);
}

void TForm1::YanitBToolbarButtonClick()
{
    zoomButtonClick(2);
}

void TForm1::YanitCToolbarButtonClick()
{
    zoomButtonClick(3);
}

void TForm1::YanitDToolbarButtonClick()
{
    zoomButtonClick(4);
}

void TForm1::YanitEToolbarButtonClick()
{
    zoomButtonClick(5);
}

// ------------------------------------------------------------------ popup menus

void TForm1::DGP1Click()
{
    if (!m_table.isOpen())
        return;
    countActiveCommand(m_table, m_dialogs, this, [this] { EnsureFilterOff(); });
}

void TForm1::DGP2Click()
{
    if (!m_table.isOpen())
        return;
    allActiveCommand(m_table, true, m_dialogs, this);
}

void TForm1::DGP3Click()
{
    if (!m_table.isOpen())
        return;
    allActiveCommand(m_table, false, m_dialogs, this);
}

void TForm1::DGP4Click()
{
    if (!m_table.isOpen())
        return;
    randomActivationCommand(m_table, *m_form5, processRandom(), m_dialogs, this, [this] { EnsureFilterOff(); });
}

void TForm1::editorMenuCommand(int command)
{
    const QList<QWidget*> editors(m_editors.begin(), m_editors.end());
    editorCommand(static_cast<EditorCommand>(command), QApplication::focusWidget(), editors,
                  [this] { editCurrentRecord(); });
}

void TForm1::PS1Click()
{
    editorMenuCommand(static_cast<int>(EditorCommand::SelectAll));
}

void TForm1::PS2Click()
{
    editorMenuCommand(static_cast<int>(EditorCommand::Cut));
}

void TForm1::PS3Click()
{
    editorMenuCommand(static_cast<int>(EditorCommand::Copy));
}

void TForm1::PS4Click()
{
    editorMenuCommand(static_cast<int>(EditorCommand::Paste));
}

} // namespace tovek::ui
