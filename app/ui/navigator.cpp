#include "app/ui/navigator.h"

#include "app/ui/icons.h"

#include <QToolButton>

namespace tovek::ui {

namespace {

struct ButtonInfo
{
    const char* objectName;
    const char* hint;
    icons::Glyph glyph;
};

const ButtonInfo kButtons[DBNavigator::kButtonCount] = {
    {"nbFirst", "İlk Soru", icons::Glyph::NavFirst},
    {"nbPrior", "Önceki Soru", icons::Glyph::NavPrior},
    {"nbNext", "Sonraki Soru", icons::Glyph::NavNext},
    {"nbLast", "Son Soru", icons::Glyph::NavLast},
    {"nbInsert", "Soru Ekle", icons::Glyph::NavInsert},
    {"nbDelete", "Soru Sil", icons::Glyph::NavDelete},
    {"nbEdit", "Soru Düzelt", icons::Glyph::NavEdit},
    {"nbPost", "Soru Kaydet", icons::Glyph::NavPost},
    {"nbCancel", "İşlem İptal", icons::Glyph::NavCancel},
};

} // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    for (int i = 0; i < kButtonCount; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(kButtons[i].objectName));
        b->setIcon(icons::icon(kButtons[i].glyph));
        b->setIconSize(QSize(14, 14));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::NoFocus);
        b->setProperty("hint", hintFor(static_cast<Button>(i)));
        b->setToolTip(hintFor(static_cast<Button>(i)));
        b->setEnabled(false);
        connect(b, &QToolButton::clicked, this, [this, i] { emit clicked(static_cast<Button>(i)); });
        m_buttons[i] = b;
    }
}

QString DBNavigator::hintFor(Button which)
{
    return QString::fromUtf8(kButtons[which].hint);
}

void DBNavigator::resizeEvent(QResizeEvent*)
{
    // Equal shares of the width; the remainder goes to the first buttons.
    const int w = width() / kButtonCount;
    int extra = width() % kButtonCount;
    int x = 0;
    for (QToolButton* b : m_buttons) {
        const int bw = w + (extra-- > 0 ? 1 : 0);
        b->setGeometry(x, 0, bw, height());
        x += bw;
    }
}

void DBNavigator::updateButtons(const Table& table)
{
    const bool active = table.isOpen();
    const bool editing = active && (table.state() == TableState::Edit || table.state() == TableState::Insert);
    const int count = active ? table.recordCount() : 0;
    const int pos = active ? table.position() : -1;
    const bool canGoBack = active && pos > 0;
    const bool canGoOn = active && pos >= 0 && pos + 1 < count;
    m_buttons[First]->setEnabled(canGoBack);
    m_buttons[Prior]->setEnabled(canGoBack);
    m_buttons[Next]->setEnabled(canGoOn);
    m_buttons[Last]->setEnabled(canGoOn);
    m_buttons[Insert]->setEnabled(active);
    m_buttons[Delete]->setEnabled(active && count > 0);
    m_buttons[Edit]->setEnabled(active && !editing);
    m_buttons[Post]->setEnabled(editing);
    m_buttons[Cancel]->setEnabled(editing);
}

} // namespace tovek::ui
