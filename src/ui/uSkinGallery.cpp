#include "uSkinGallery.h"

#include "uEffectImage.h"
#include "uExBoolImage.h"
#include "uExImage.h"
#include "uHintInfo.h"
#include "uMyButton.h"
#include "uSkin.h"
#include "uSkinControl.h"

#include "SkinPictures.h"

#include "AtomicFile.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QBuffer>

namespace qarvon {

namespace {

QString U(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// A widget that paints its background in that colour.
void Fill(QWidget *w, const QColor &colour)
{
    w->setAutoFillBackground(true);
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, colour);
    w->setPalette(palette);
}

void Ink(QWidget *w, const QColor &colour)
{
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, colour);
    w->setPalette(palette);
}

void PixelFont(QWidget *w, int pixels, bool bold = false)
{
    QFont font = w->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    w->setFont(font);
}

// Builds the sheet on an absolutely placed canvas: every control made the
// way the windows make them, put into each of its states.
class TGallery
{
public:
    TGallery()
    {
        Fill(&m_root, QColor(0xEE, 0xF3, 0xF7));
        Ink(&m_root, skin::Text);
        QFont font(QStringLiteral("Noto Sans CJK SC"));
        font.setPixelSize(12);
        m_root.setFont(font);
    }

    QWidget &Root() { return m_root; }

    QWidget *Card(const QString &title, QRect r)
    {
        auto *card = new QWidget(&m_root);
        card->setGeometry(r);
        Fill(card, Qt::white);
        auto *heading = new QLabel(title, card);
        PixelFont(heading, 13, true);
        Ink(heading, skin::Label);
        heading->setGeometry(12, 8, r.width() - 24, 18);
        auto *rule = new QWidget(card);
        rule->setGeometry(12, 29, r.width() - 24, 1);
        Fill(rule, QColor(0xE1, 0xEE, 0xF6));
        m_bottom = std::max(m_bottom, r.bottom());
        return card;
    }

    static QLabel *Caption(QWidget *parent, const QString &text, QRect r, int pixels = 11)
    {
        auto *label = new QLabel(text, parent);
        PixelFont(label, pixels);
        Ink(label, QColor(0x8A, 0x96, 0xA0));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(r);
        return label;
    }

    static TSkinImage *Image(QWidget *parent, const char *name, QPoint at, QSize size = {})
    {
        auto *image = new TSkinImage(parent);
        image->SetTransparent(true);
        const QPixmap picture = SkinPicture(name);
        image->SetPicture(picture);
        if (size.isValid()) {
            image->SetStretch(true);
            image->setGeometry(QRect(at, size));
        } else {
            image->setGeometry(QRect(at, picture.deviceIndependentSize().toSize()));
        }
        return image;
    }

    static TExImage *Strip(QWidget *parent, const std::string &prefix, QRect r, int progress)
    {
        auto *strip = new TExImage(parent);
        strip->SetTransparent(true);
        strip->setGeometry(r);
        strip->SetPictureLeft(SkinPicture(prefix + "_Left.png"));
        strip->SetPicture(SkinPicture(prefix + "_Middle.png"));
        strip->SetPictureRight(SkinPicture(prefix + "_Right.png"));
        strip->SetProgressWidth(progress);
        return strip;
    }

    static TEffectImage *Tab(QWidget *parent, const std::string &normal, const std::string &down,
                             const std::string &unselect, QRect r, TEffectImageState state)
    {
        auto *tab = new TEffectImage(parent);
        tab->SetTransparent(true);
        tab->setGeometry(r);
        const std::pair<TEffectImageState, const std::string *> sets[]
            = {{eisNormal, &normal}, {eisDown, &down}, {eisUnSelect, &unselect}};
        for (const auto &[s, prefix] : sets) {
            tab->SetStatePicture(s, TEffectImage::Left, SkinPicture(*prefix + "_Left.png"));
            tab->SetStatePicture(s, TEffectImage::Center, SkinPicture(*prefix + "_Middle.png"));
            tab->SetStatePicture(s, TEffectImage::Right, SkinPicture(*prefix + "_Right.png"));
        }
        tab->SetImageState(state);
        return tab;
    }

    int Bottom() const { return m_bottom; }

private:
    QWidget m_root;
    int m_bottom = 0;
};

const char *StateName(TEffectImageState s)
{
    switch (s) {
    case eisNormal: return "eisNormal";
    case eisDown: return "eisDown";
    case eisUnSelect: return "eisUnSelect";
    }
    return "";
}

void Point(QWidget *w)
{
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(w, &enter);
}

void Press(QWidget *w)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

void PlayerCard(TGallery &g)
{
    QWidget *card = g.Card(U("播放器  ·  按钮、进度与音量"), QRect(16, 64, 560, 236));
    struct Button
    {
        const char *normal;
        const char *down;
        const char *caption;
    };
    const Button buttons[] = {
        {"PlayerBtn_Pre.png", "PlayerBtn_Pre_Down.png", "上一首"},
        {"PlayerBtn_Play.png", "PlayerBtn_Play_Down.png", "播放"},
        {"PlayerBtn_Pause.png", "PlayerBtn_Pause_Down.png", "暂停"},
        {"PlayerBtn_Next.png", "PlayerBtn_Next_Down.png", "下一首"},
        {"PlayerBtn_ListLoop.png", "PlayerBtn_ListLoop_Down.png", "顺序播放"},
        {"PlayerBtn_Random.png", "PlayerBtn_Random_Down.png", "随机播放"},
        {"PlayerBtn_Loop.png", "PlayerBtn_Loop_down.png", "单曲循环"},
        {"PlayerBtn_Volum.png", "PlayerBtn_Volum_Down.png", "音量"},
        {"PlayerBtn_NoVolum.png", "PlayerBtn_NoVolum_Down.png", "静音"},
    };
    int x = 14;
    for (const Button &b : buttons) {
        const QPixmap normal = SkinPicture(b.normal);
        const int w = static_cast<int>(normal.deviceIndependentSize().width());
        const int h = static_cast<int>(normal.deviceIndependentSize().height());
        TGallery::Image(card, b.normal, QPoint(x + (40 - w) / 2, 40 + (36 - h) / 2));
        TGallery::Image(card, b.down, QPoint(x + (40 - w) / 2, 88 + (36 - h) / 2));
        TGallery::Caption(card, U(b.caption), QRect(x - 8, 128, 56, 16));
        x += 58;
    }
    TGallery::Caption(card, U("常态"), QRect(514, 50, 40, 16));
    TGallery::Caption(card, U("按下"), QRect(514, 98, 40, 16));

    // The player's progress bar: three strips over each other, and the knob.
    TGallery::Image(card, "Player_DefaultCD.png", QPoint(14, 158));
    const int progress[] = {0, 84, 210};
    const char *captions[] = {"ProgressWidth 0", "ProgressWidth 84", "ProgressWidth 210 (满)"};
    for (int i = 0; i < 3; ++i) {
        const int y = 164 + i * 20;
        TGallery::Strip(card, "PlayerProgress_BG", QRect(92, y, 210, 6), 210);
        TGallery::Strip(card, "PlayerProgress_Loaded", QRect(92, y, 210, 6),
                        std::min(210, progress[i] + 60));
        TGallery::Strip(card, "PlayerProgress_Playing", QRect(92, y, 210, 6), progress[i]);
        TGallery::Image(card, "PlayerProgress_Btn.png",
                        QPoint(92 + std::clamp(progress[i] - 6, 0, 198), y - 3));
        auto *c = TGallery::Caption(card, QString::fromUtf8(captions[i]), QRect(310, y - 5, 140, 16));
        c->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    TGallery::Image(card, "PlayerVolum_BG.png", QPoint(460, 184));
    TGallery::Image(card, "PlayerVolum.png", QPoint(460, 184), QSize(26, 6));
    TGallery::Image(card, "PlayerVolum_Btn.png", QPoint(480, 181));
    TGallery::Caption(card, U("音量"), QRect(452, 196, 56, 16));
}

void WindowCard(TGallery &g)
{
    QWidget *card = g.Card(U("窗口框架  ·  TExImage 框条、TMyButton、TBoolImage"),
                           QRect(592, 64, 500, 236));
    // A header made of a full frame strip with the header pictures on it.
    TGallery::Strip(card, "Frame_Top", QRect(14, 40, 472, 32), 472);
    TGallery::Image(card, "Header_Logo.png", QPoint(22, 44));
    auto *title = new QLabel(U("沃澜音乐盒"), card);
    title->setGeometry(52, 40, 200, 32);
    PixelFont(title, 13, true);
    Ink(title, Qt::white);
    int x = 356;
    for (const char *name : {"Header_Help.png", "Header_Setting.png", "Header_Mini.png"}) {
        TGallery::Image(card, name, QPoint(x, 46));
        x += 24;
    }
    auto *close = new TSkinImage(card);
    close->SetTransparent(true);
    close->setGeometry(x, 46, 20, 20);
    new TMyButton(close, nullptr, QStringLiteral("btn_close"), QStringLiteral("btn_close_over"),
                  QStringLiteral("btn_close_down"));
    auto *side = new QWidget(card);
    side->setGeometry(14, 72, 472, 30);
    TGallery::Image(side, "Frame_Side.png", QPoint(0, 0), QSize(2, 30));
    TGallery::Image(side, "Frame_Side.png", QPoint(470, 0), QSize(2, 30));
    TGallery::Strip(card, "Frame_Bottom", QRect(14, 102, 472, 8), 472);
    TGallery::Caption(card, U("Frame_Top / Frame_Side / Frame_Bottom，满条"),
                      QRect(22, 80, 450, 16));

    // Header buttons pressed, and the embedded close button in its three looks.
    x = 14;
    for (const char *name : {"Header_Help_Down.png", "Header_Setting_Down.png",
                             "Header_Mini_Down.png", "Header_Close_Down.png"}) {
        auto *bg = new QWidget(card);
        bg->setGeometry(x, 124, 28, 28);
        Fill(bg, skin::MenuBar);
        TGallery::Image(bg, name, QPoint(4, 4));
        x += 32;
    }
    TGallery::Caption(card, U("标题按钮按下"), QRect(14, 156, 124, 16));
    const char *lookCaptions[] = {"常态", "指向", "按下"};
    for (int i = 0; i < 3; ++i) {
        auto *bg = new QWidget(card);
        bg->setGeometry(160 + i * 32, 124, 28, 28);
        Fill(bg, skin::MenuBar);
        auto *image = new TSkinImage(bg);
        image->SetTransparent(true);
        image->setGeometry(4, 4, 20, 20);
        new TMyButton(image, nullptr, QStringLiteral("btn_close"),
                      QStringLiteral("btn_close_over"), QStringLiteral("btn_close_down"));
        if (i == 1)
            Point(image);
        if (i == 2)
            Press(image);
        TGallery::Caption(card, U(lookCaptions[i]), QRect(156 + i * 32, 156, 36, 16));
    }

    // The music-box button flips between its two pictures.
    for (int i = 0; i < 2; ++i) {
        auto *box = new TBoolImage(card);
        box->SetTransparent(true);
        box->SetPictureTrue(SkinPicture("MusicBoxBtn_On.png"));
        box->SetPictureFalse(SkinPicture("MusicBoxBtn_Off.png"));
        box->SetAutoSize(true);
        box->SetPictureValue(i == 0);
        box->move(276 + i * 44, 125);
        TGallery::Caption(card, i == 0 ? QStringLiteral("true") : QStringLiteral("false"),
                          QRect(270 + i * 44, 156, 44, 16));
    }
    TGallery::Image(card, "Btn_Back.png", QPoint(376, 128));
    TGallery::Caption(card, U("返回"), QRect(366, 156, 40, 16));

    // The sign-in button of the login dialog in its three looks.
    for (int i = 0; i < 3; ++i) {
        auto *login = new TSkinImage(card);
        login->SetTransparent(true);
        login->setGeometry(14 + i * 158, 182, 150, 25);
        login->SetStretch(true);
        new TMyButton(login, nullptr, QStringLiteral("btn_login"),
                      QStringLiteral("btn_login_over"), QStringLiteral("btn_login_down"));
        if (i == 1)
            Point(login);
        if (i == 2)
            Press(login);
        TGallery::Caption(card, U(lookCaptions[i]), QRect(14 + i * 158, 210, 150, 16));
    }
}

void TabsCard(TGallery &g)
{
    QWidget *card = g.Card(U("标签页与菜单栏  ·  TEffectImage 三种状态"), QRect(16, 316, 1076, 196));
    struct Title
    {
        const char *selected;
        const char *unselected;
    };
    const Title titles[] = {
        {"MenuBtn_SelectTitle_DefaultList.png", "MenuBtn_UnSelectTitle_DefaultList.png"},
        {"MenuBtn_SelectTitle_MyMusic.png", "MenuBtn_UnselectTitle_MyMusic.png"},
        {"MenuBtn_SelectTitle_Playing.png", "MenuBtn_UnSelectTitle_Playing.png"},
        {"MenuBtn_selectTitle_MusicLibrary.png", "MenuBtn_UnselectTitle_MusicLibrary.png"},
        {"MenuBtn_selectTitle_Download.png", "MenuBtn_UnselectTitle_Download.png"},
    };
    // Selected tabs press into SelectDown, unselected ones into UnselectDown.
    for (int row = 0; row < 2; ++row) {
        const bool selectedRow = row == 0;
        const TEffectImageState shown[] = {selectedRow ? eisNormal : eisUnSelect, eisDown};
        for (int col = 0; col < 5; ++col) {
            for (int column = 0; column < 2; ++column) {
                const TEffectImageState state = shown[column];
                const QRect r(14 + col * 212 + column * 104, 40 + row * 48, 100, 26);
                TGallery::Tab(card, "MenuBtn_Select",
                              selectedRow ? "MenuBtn_SelectDown" : "MenuBtn_UnselectDown",
                              "MenuBtn_Unselect", r, state);
                const char *titleName
                    = selectedRow ? titles[col].selected : titles[col].unselected;
                TGallery::Image(card, titleName, QPoint(r.x() + 10, r.y() + 1));
                TGallery::Caption(card, QString::fromLatin1(StateName(state)),
                                  QRect(r.x(), r.bottom() + 3, 100, 14), 10);
            }
        }
    }
    // The library's menu bar with its items in the three states.
    const QRect bar(14, 142, 1048, 24);
    TGallery::Image(card, "MenuBar_BG.png", bar.topLeft(), bar.size());
    const char *items[] = {"音乐专题", "艺人", "排行榜", "搜索", "列表", "专辑"};
    const TEffectImageState itemStates[] = {eisNormal, eisUnSelect, eisUnSelect,
                                            eisDown,   eisNormal,   eisUnSelect};
    for (int i = 0; i < 6; ++i) {
        const QRect r(bar.x() + 10 + i * 86 + (i >= 4 ? 120 : 0), bar.y() + 2, 76, 20);
        TGallery::Tab(card, "MenuItem_Normal", "MenuItem_Down", "MenuItem_UnSelect", r,
                      itemStates[i]);
        auto *label = new QLabel(U(items[i]), card);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(r);
        Ink(label, itemStates[i] == eisNormal ? QColor(Qt::white) : skin::Label);
        TGallery::Caption(card, QString::fromLatin1(StateName(itemStates[i])),
                          QRect(r.x(), bar.bottom() + 3, r.width(), 14), 10);
    }
}

void ListCard(TGallery &g)
{
    QWidget *card = g.Card(U("列表与提示条  ·  THintInfo"), QRect(16, 528, 360, 260));
    auto *list = new QWidget(card);
    list->setGeometry(12, 40, 336, 208);
    Fill(list, Qt::white);
    const char *status[] = {"status_playing.bmp", "status_downloaded.bmp", "status_online.bmp",
                            "status_online.bmp",  "status_downloaded.bmp", "status_online.bmp"};
    const char *rows[] = {"晴天 - 周小伦",     "夜曲 - 周小伦",   "后来 - 刘若晴",
                          "小幸运 - 田馥真",   "平凡之路 - 朴述", "稻香 - 周小伦"};
    for (int i = 0; i < 6; ++i) {
        auto *row = new QWidget(list);
        row->setGeometry(0, i * 26, 336, 26);
        Fill(row, i == 2 ? skin::Selection : (i % 2 == 1 ? skin::OddRow : QColor(Qt::white)));
        TGallery::Image(row, status[i], QPoint(2, 5));
        auto *text = new QLabel(U(rows[i]), row);
        text->setGeometry(24, 0, 300, 26);
        Ink(text, skin::Text);
    }
    auto *hint = new THintInfo(QString(), card);
    hint->Show(U("播放音乐"), list);
}

void AlbumCard(TGallery &g)
{
    QWidget *card = g.Card(U("专辑视图  ·  封面、播放标记与状态图"), QRect(392, 528, 700, 260));
    TGallery::Image(card, "cover_nomal.png", QPoint(14, 44));
    TGallery::Caption(card, U("默认封面"), QRect(6, 98, 66, 16));
    TGallery::Image(card, "cover_nomal.png", QPoint(82, 44));
    TGallery::Image(card, "Tile_Mask.png", QPoint(82, 44));
    TGallery::Image(card, "Tile_Play.png", QPoint(95, 57));
    TGallery::Caption(card, U("指向时"), QRect(74, 98, 66, 16));
    TGallery::Image(card, "Icon_list_playing.png", QPoint(160, 62));
    TGallery::Caption(card, U("正在播放"), QRect(140, 98, 54, 16));
    int x = 14;
    for (const char *name :
         {"loading.png", "text_listLogin.png", "text_albumLogin.png", "text_nocollection.png"}) {
        auto *frame = new QWidget(card);
        frame->setGeometry(x, 124, 165, 110);
        Fill(frame, skin::OddRow);
        TGallery::Image(frame, name, QPoint(-10, 4));
        TGallery::Caption(card, QString::fromLatin1(name), QRect(x, 236, 165, 16), 10);
        x += 172;
    }
    // The search line of the artist panel.
    TGallery::Image(card, "input_name_down.png", QPoint(220, 48));
    auto *typed = new QLabel(U("周小伦"), card);
    typed->setGeometry(232, 48, 150, 29);
    TGallery::Image(card, "btn_search_up.png", QPoint(438, 49));
    TGallery::Caption(card, U("艺人搜索"), QRect(220, 84, 246, 16));
    TGallery::Image(card, "Header_Logo.png", QPoint(500, 50));
}

void SearchCard(TGallery &g)
{
    QWidget *card = g.Card(U("搜索首页与对话框背景"), QRect(16, 804, 1076, 300));
    // The landing page: the pressed tab's left cap stretched over it, then its pictures.
    auto *landing = new QWidget(card);
    landing->setGeometry(12, 40, 495, 250);
    TGallery::Image(landing, "MenuBtn_SelectDown_Left.png", QPoint(0, 0), landing->size());
    TGallery::Image(landing, "Search_BG.jpg", QPoint(0, 250 - 143), QSize(495, 143));
    TGallery::Image(landing, "Search_title.jpg", QPoint(140, 20));
    TGallery::Image(landing, "search_input.png", QPoint(105, 90));
    auto *hintText = new QLabel(U("搜索歌曲,歌手或专辑"), landing);
    hintText->setGeometry(116, 90, 200, 35);
    Ink(hintText, QColor(0x80, 0x80, 0x80));
    TGallery::Image(card, "newlist_bg.jpg", QPoint(530, 40));
    TGallery::Image(card, "listinfo_bg.jpg", QPoint(853, 40), QSize(210, 133));
    TGallery::Caption(card, QStringLiteral("newlist_bg.jpg"), QRect(530, 240, 311, 16), 10);
    TGallery::Caption(card, QStringLiteral("listinfo_bg.jpg"), QRect(853, 176, 210, 16), 10);
    int x = 853;
    for (const char *name : {"status_playing.bmp", "status_downloaded.bmp", "status_online.bmp",
                             "status_stop.bmp", "status_error.bmp", "status_waitting.bmp",
                             "status_downloading_0.bmp", "status_downloading_1.bmp",
                             "status_downloading_2.bmp", "status_downloading_3.bmp"}) {
        TGallery::Image(card, name, QPoint(x, 206));
        x += 21;
    }
    TGallery::Caption(card, QStringLiteral("status_*.bmp"), QRect(853, 226, 210, 16), 10);
}

void ContactSheet(TGallery &g)
{
    const auto &pictures = SkinPictures();
    const int columns = 8;
    const int cellW = 132;
    const int cellH = 74;
    const int rows = static_cast<int>((pictures.size() + columns - 1) / columns);
    QWidget *card = g.Card(U("全部皮肤图片"), QRect(16, 1120, 1076, 44 + rows * cellH));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const TSkinPicture &p = pictures[i];
        const int col = static_cast<int>(i) % columns;
        const int row = static_cast<int>(i) / columns;
        const QRect cell(12 + col * cellW, 38 + row * cellH, cellW - 6, cellH - 6);
        auto *back = new QWidget(card);
        back->setGeometry(cell.x(), cell.y(), cell.width(), 50);
        const std::string name = p.name;
        const bool onBlue = name.rfind("Header_", 0) == 0 || name.rfind("btn_close", 0) == 0
                            || name.rfind("MenuItem_", 0) == 0;
        Fill(back, onBlue ? skin::MenuBar : skin::OddRow);
        QPixmap picture = p.place == TSkinPlace::Embedded
                              ? EmbeddedPicture(name.substr(0, name.size() - 4))
                              : SkinPicture(name);
        auto *image = new TSkinImage(back);
        image->SetTransparent(true);
        image->SetPicture(picture);
        image->SetProportional(true);
        image->SetCenter(true);
        image->setGeometry(4, 3, cell.width() - 8, 44);
        auto *caption = TGallery::Caption(card, QString::fromLatin1(p.name),
                                          QRect(cell.x() - 2, cell.y() + 51, cell.width() + 4, 14), 9);
        caption->setWordWrap(false);
    }
}

} // namespace

bool RenderSkinGallery(const QString &file, QString *error)
{
    TGallery gallery;
    QWidget &root = gallery.Root();
    auto *title = new QLabel(U("沃澜音乐盒 · 皮肤一览"), &root);
    PixelFont(title, 20, true);
    Ink(title, QColor(0x2C, 0x7F, 0xAE));
    title->setGeometry(16, 14, 600, 36);

    PlayerCard(gallery);
    WindowCard(gallery);
    TabsCard(gallery);
    ListCard(gallery);
    AlbumCard(gallery);
    SearchCard(gallery);
    ContactSheet(gallery);

    root.resize(1108, gallery.Bottom() + 17);
    root.setAttribute(Qt::WA_DontShowOnScreen);
    root.show();
    QCoreApplication::processEvents();
    const QPixmap sheet = root.grab();
    root.hide();

    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !sheet.save(&buffer, "PNG")
        || !WriteFileAtomically(file.toStdString(), png.toStdString())) {
        if (error)
            *error = QStringLiteral("cannot write ") + file;
        return false;
    }
    return true;
}

} // namespace qarvon
