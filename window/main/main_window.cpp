#include "window/main/main_window.h"

#include "window/look/fonts.h"
#include "window/look/navorix_style.h"
#include "window/look/pictures.h"
#include "window/look/qt_placement.h"
#include "window/look/qt_text.h"
#include "window/look/window_frame.h"
#include "window/main/fix_row_delegate.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringListModel>
#include <QTimer>
#include <QToolTip>

namespace navorix {

namespace {

const QColor Lime(0, 255, 0);
const QColor Aqua(0, 255, 255);
const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);

// Fonts given as the height of their line in pixels.
constexpr int LogFontHeight = 16;
constexpr int ListFontHeight = 18;
constexpr int PanelFontHeight = 16;

// The operation panel: eleven buttons 114 x 24, 28 pixels apart, the first
// four in the group box.
constexpr int OpButtonWidth = 114;
constexpr int OpButtonHeight = 24;
constexpr int OpButtonPitch = 28;
constexpr int OpGroupLeft = 4;
constexpr int OpGroupTop = 2;
constexpr int OpGroupWidth = 122;
constexpr int OpGroupFirstButton = 16;
constexpr int OpGroupButtonCount = DistanceGroupSize;
constexpr int OpGroupBottomGap = 5;
constexpr int OpBelowGroupGap = 4;

void paint(QWidget* W, const QColor& ground, const QColor& ink) {
  QPalette pal = W->palette();
  pal.setColor(QPalette::Window, ground);
  pal.setColor(QPalette::Base, ground);
  pal.setColor(QPalette::WindowText, ink);
  pal.setColor(QPalette::Text, ink);
  W->setPalette(pal);
  W->setAutoFillBackground(true);
}

QFrame* panel(QWidget* parent, const char* name, QRect place, bool sunken) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(QLatin1String(name));
  frame->setGeometry(place);
  if (sunken) {
    frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  } else {
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(1);
  }
  return frame;
}

QLabel* label(QWidget* parent, const char* name, QRect place) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(place);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, QRect place, const char* caption,
                        const char* hint) {
  auto* button = new QPushButton(toQString(caption), parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(place);
  button->setToolTip(toQString(hint));
  button->setAutoDefault(false);
  return button;
}

QPushButton* glyphButton(QWidget* parent, const char* name, QRect place, bool up, const char* hint) {
  QPushButton* button = makeButton(parent, name, place, "", hint);
  button->setIcon(QIcon(triangleGlyph(up, place.width() - 8, place.height() - 8)));
  button->setIconSize(QSize(place.width() - 8, place.height() - 8));
  return button;
}

bool isFixAtDKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  return key.key() == Qt::Key_D && mods == Qt::AltModifier;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QStringLiteral("Navorix"));
  setWindowIcon(appIcon());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(propFont());
  setTitleBar(*this, TitleBar::CaptionMinimise);

  c_.client = new QWidget(this);
  c_.client->setObjectName(QStringLiteral("Client"));
  c_.client->setFixedSize(MainClientWidth, MainClientHeight);
  setCentralWidget(c_.client);

  buildLogDisplay();
  buildFixList();
  buildStatusPanel();
  buildOperationPanel();

  c_.checkMarkCarrier = new QPushButton(c_.client);
  c_.checkMarkCarrier->setObjectName(QStringLiteral("checkMarkCarrier"));
  c_.checkMarkCarrier->setIcon(QIcon(checkMarkBitmap()));
  c_.checkMarkCarrier->hide();
  if (auto* style = qobject_cast<NavorixStyle*>(QApplication::style())) {
    style->setCheckMark(checkMarkBitmap());
  }

  c_.searchTimer = new QTimer(this);
  c_.searchTimer->setObjectName(QStringLiteral("searchTimer"));
  c_.searchTimer->setSingleShot(true);

  buildMainMenu(*menuBar(), menu_);
  setMenuFontSize(DefaultMenuFontSize);

  QPalette hint = QToolTip::palette();
  hint.setColor(QPalette::ToolTipBase, Yellow);
  hint.setColor(QPalette::ToolTipText, Black);
  QToolTip::setPalette(hint);

  // The fix buttons are the window's tab stops; list and operation buttons
  // are not.
  setTabOrder(c_.addButton, c_.editButton);
  setTabOrder(c_.editButton, c_.deleteButton);
  setTabOrder(c_.deleteButton, c_.undeleteButton);
  setTabOrder(c_.undeleteButton, c_.moveUpButton);
  setTabOrder(c_.moveUpButton, c_.moveDownButton);
  fixWindowSize();
}

void MainWindow::buildLogDisplay() {
  c_.logPanel = panel(c_.client, "logPanel", {4, 5, 589, 60}, true);
  paint(c_.logPanel, Black, Aqua);
  c_.logPanel->setToolTip(QStringLiteral("Operation log display"));
  static constexpr const char* Names[3] = {"logLine1", "logLine2", "logLine3"};
  static constexpr int Tops[3] = {4, 21, 38};
  const QFont font = fixedFontOfHeight(LogFontHeight, true);
  for (std::size_t i = 0; i < 3; ++i) {
    QLabel* out = label(c_.logPanel, Names[i], {4, Tops[i], 580, 17});
    out->setFont(font);
    paint(out, Black, i < 2 ? Aqua : Yellow);
    out->setAlignment(Qt::AlignVCenter | (i < 2 ? Qt::AlignLeft : Qt::AlignRight));
    c_.logLines[i] = out;
  }
  c_.previousRecordButton =
      glyphButton(c_.client, "previousRecordButton", {596, 5, 32, 19}, true, "Show previous log line");
  c_.recordNumberLabel = label(c_.client, "recordNumberLabel", {596, 24, 32, 22});
  paint(c_.recordNumberLabel, Black, Lime);
  c_.recordNumberLabel->setFont(fixedFontOfHeight(PanelFontHeight - 2, true));
  c_.recordNumberLabel->setAlignment(Qt::AlignCenter);
  c_.recordNumberLabel->setToolTip(QStringLiteral("Log line displayed"));
  c_.nextRecordButton =
      glyphButton(c_.client, "nextRecordButton", {596, 46, 32, 19}, false, "Show next log line");
  // Like tool buttons: clicked, never focused.
  c_.previousRecordButton->setFocusPolicy(Qt::NoFocus);
  c_.nextRecordButton->setFocusPolicy(Qt::NoFocus);
}

void MainWindow::buildFixList() {
  c_.fixListFrame = panel(c_.client, "fixListFrame", {4, 70, 488, 296}, true);
  paint(c_.fixListFrame, Black, Lime);
  c_.fixList = new QListView(c_.fixListFrame);
  c_.fixList->setObjectName(QStringLiteral("fixList"));
  c_.fixList->setGeometry(4, 3, 480, 290);
  c_.fixList->setFrameShape(QFrame::NoFrame);
  c_.fixList->setFont(fixedFontOfHeight(ListFontHeight, true));
  paint(c_.fixList, Black, Lime);
  c_.fixList->setUniformItemSizes(true);
  c_.fixList->setItemDelegate(new FixRowDelegate(c_.fixList));
  c_.fixList->setSelectionMode(QAbstractItemView::SingleSelection);
  c_.fixList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  c_.fixList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  c_.fixList->setFocusPolicy(Qt::ClickFocus);
  c_.fixList->setToolTip(QStringLiteral("Fix database"));
  c_.fixList->setTabKeyNavigation(false);
  // Until a fix list model is set: the blank row that stands for the place
  // after the last fix.
  c_.fixList->setModel(new QStringListModel(QStringList{QString()}, c_.fixList));
  c_.fixList->setCurrentIndex(c_.fixList->model()->index(0, 0));

  c_.searchLabel = label(c_.fixListFrame, "searchLabel", {149, 113, 185, 29});
  c_.searchLabel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  c_.searchLabel->setFont(fixedFontOfHeight(ListFontHeight, true));
  paint(c_.searchLabel, Yellow, Red);
  c_.searchLabel->setAlignment(Qt::AlignCenter);
  c_.searchLabel->raise();
  c_.searchLabel->hide();
}

void MainWindow::buildStatusPanel() {
  c_.fixPanel = panel(c_.client, "fixPanel", {4, 370, 488, 33}, false);
  c_.fixCountLabel = label(c_.fixPanel, "fixCountLabel", {3, 4, 103, 25});
  paint(c_.fixCountLabel, Black, Lime);
  c_.fixCountLabel->setFont(fixedFontOfHeight(PanelFontHeight, true));
  c_.fixCountLabel->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
  c_.fixCountLabel->setIndent(6);
  c_.fixCountLabel->setText(QStringLiteral("N = 0"));
  c_.fixCountLabel->setToolTip(QStringLiteral("No. of fixes in the database"));

  c_.addButton = makeButton(c_.fixPanel, "addButton", {111, 4, 75, 25}, "Add",
                            "[Ins] Insert new fix into DB\n(above the current one)");
  c_.addButton->setProperty("tag", 1);
  c_.editButton =
      makeButton(c_.fixPanel, "editButton", {188, 4, 75, 25}, "Edit", "[Enter] Edit current fix ");
  c_.deleteButton =
      makeButton(c_.fixPanel, "deleteButton", {267, 4, 75, 25}, "Delete", "[Del] Delete current fix");
  c_.undeleteButton = makeButton(c_.fixPanel, "undeleteButton", {346, 4, 75, 25}, "Undelete",
                                 "[Shft-Ins] Undelete last deleted fix");
  c_.undeleteButton->setEnabled(false);
  c_.moveUpButton =
      glyphButton(c_.fixPanel, "moveUpButton", {425, 4, 28, 25}, true, "[Shift-Up] Move fix up");
  c_.moveDownButton =
      glyphButton(c_.fixPanel, "moveDownButton", {456, 4, 28, 25}, false, "[Shft-Down] Move fix down");
}

namespace {

// The control names of the operation buttons, by tag.
constexpr const char* OpButtonNames[OperationCount] = {
    "fixFixButton",  "arcFixButton",        "arcArcButton",     "midpointButton",
    "azimuthButton", "fixAtDistAzimButton", "projectionButton", "intersectionButton",
    "nextFixButton", "proximityButton",     "fixAtDistButton"};

}  // namespace

void MainWindow::buildOperationPanel() {
  c_.operationPanel = panel(c_.client, "operationPanel", {498, 70, 130, 333}, false);
  const int groupHeight =
      OpGroupFirstButton + (OpGroupButtonCount - 1) * OpButtonPitch + OpButtonHeight + OpGroupBottomGap;
  c_.distanceGroup = new QGroupBox(toQString(DistanceGroupCaption), c_.operationPanel);
  c_.distanceGroup->setObjectName(QStringLiteral("distanceGroup"));
  c_.distanceGroup->setGeometry(OpGroupLeft, OpGroupTop, OpGroupWidth, groupHeight);

  const int leftInPanel = (c_.operationPanel->width() - OpButtonWidth) / 2;
  const int belowGroup = OpGroupTop + groupHeight + OpBelowGroupGap;
  for (std::size_t i = 0; i < PanelOrder.size(); ++i) {
    const auto tag = static_cast<std::uint8_t>(PanelOrder[i]);
    const OperationInfo* info = FindOperation(tag);
    const bool inGroup = i < OpGroupButtonCount;
    QWidget* parent = inGroup ? static_cast<QWidget*>(c_.distanceGroup) : c_.operationPanel;
    const int slot = static_cast<int>(inGroup ? i : i - OpGroupButtonCount);
    const QRect place(inGroup ? leftInPanel - OpGroupLeft : leftInPanel,
                      (inGroup ? OpGroupFirstButton : belowGroup) + slot * OpButtonPitch, OpButtonWidth,
                      OpButtonHeight);
    // The catalogue's texts are views; Button takes terminated strings.
    const std::string caption(info->caption);
    const std::string hint(info->hint);
    QPushButton* button = makeButton(parent, OpButtonNames[tag - 1U], place, caption.c_str(), hint.c_str());
    button->setProperty("tag", tag);
    // Reached by the mouse and by the Alt accelerators only.
    button->setFocusPolicy(Qt::ClickFocus);
    c_.operationButtons[tag - 1U] = button;
  }
  // "&Next Fix" starts disabled; a first Fix-Fix distance enables it.
  operationButton(OperationTag::NextFix)->setEnabled(false);
}

QPushButton* MainWindow::operationButton(std::uint8_t tag) const {
  if (tag < 1 || tag > OperationCount) return nullptr;
  return c_.operationButtons[tag - 1U];
}

void MainWindow::setMenuFontSize(int pointSize) {
  if (!isFontSize(pointSize)) return;
  const QFont font = menuFont(pointSize);
  menuBar()->setFont(font);
  for (QMenu* menu : menu_.allMenus()) menu->setFont(font);
  fixWindowSize();
}

void MainWindow::setPropFontSize(int pointSize) {
  if (!isFontSize(pointSize)) return;
  // Only the proportional controls follow; the fixed-pitch ones and the
  // menus keep the fonts that were set on them directly.
  setFont(propFont(pointSize));
}

bool MainWindow::setHintsShown(bool shown) {
  if (shown == hintsShown_) return hintsShown_;
  hintsShown_ = shown;
  if (shown) {
    qApp->removeEventFilter(this);
  } else {
    QToolTip::hideText();
    qApp->installEventFilter(this);
  }
  return hintsShown_;
}

void MainWindow::activateMenuBar() {
  // The menu bar enters its keyboard mode when Alt is pressed and released
  // alone; F10 does the same on the platforms this window copies.
  QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
  QCoreApplication::sendEvent(this, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  QWidget* target = focusWidget() != nullptr ? focusWidget() : this;
  QCoreApplication::sendEvent(target, &release);
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Alt+D belongs to "Fix at &D", not to the "&Data" menu: claim the key
    // before the shortcut map sees two owners.
    if (isFixAtDKey(*static_cast<QKeyEvent*>(event))) {
      event->accept();
      return true;
    }
  } else if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (isFixAtDKey(*key)) {
      QPushButton* button = operationButton(OperationTag::FixAtDistance);
      if (button->isEnabled()) button->animateClick();
      return true;
    }
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
      activateMenuBar();
      return true;
    }
  }
  return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (!hintsShown_ && event->type() == QEvent::ToolTip) {
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->window() == this) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fixWindowSize() {
  // The window follows its parts: the fixed client area and the menu bar,
  // whose height changes with the menu font.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();
}

void MainWindow::setVisible(bool visible) {
  // Centred on the screen by its frame, before the window manager sees it
  // for the first time.
  if (visible && !shownBefore_) centreOnScreen(*this);
  QMainWindow::setVisible(visible);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownBefore_) return;
  shownBefore_ = true;
  c_.fixList->setFocus();
}

}  // namespace navorix
