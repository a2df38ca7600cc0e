#include "window/input_panel.h"

#include "window/dialog_parts.h"
#include "window/fonts.h"
#include "window/qt_text.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace navorix {

namespace {

QRect ToQRect(const TRect& R) { return {R.Left, R.Top, R.Width, R.Height}; }

}  // namespace

TInPan::TInPan(QWidget* Parent) : QDialog(Parent, InputDialogFlags()) {
  setObjectName(QStringLiteral("TInPan"));
  setModal(true);
  setFont(PropFont());
  bevel_ = new QFrame(this);
  bevel_->setObjectName(QStringLiteral("xBevel"));
  bevel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  bevel_->setLineWidth(1);
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    labels_[i] = MakeFieldLabel(bevel_, ("xLa" + n).c_str());
    fields_[i] = new TInputField(bevel_);
    fields_[i]->setObjectName(QString::fromStdString("xEd" + n));
    labels_[i]->setBuddy(fields_[i]);
  }
  strip_ = new QWidget(this);
  strip_->setObjectName(QStringLiteral("xButPan"));
  ok_ = StripButton(strip_, "xOK", "&OK");
  cancel_ = StripButton(strip_, "xCancel", "&Cancel");
  for (std::size_t k = 0; k + 1 < InPanTabOrder.size(); ++k) {
    setTabOrder(Field(InPanTabOrder[k]), Field(InPanTabOrder[k + 1]));
  }
  ApplyLayout(TDialogEntry::OneFix, "");
}

TInPanGrid TInPan::Grid() const {
  TInPanGrid grid;
  const QFontMetrics fm(font());
  for (const char* text : InPanLeftLabels()) {
    grid.LeftLabelWidth = std::max(grid.LeftLabelWidth, fm.horizontalAdvance(QString::fromLatin1(text)));
  }
  for (const char* text : InPanRightLabels()) {
    grid.RightLabelWidth = std::max(grid.RightLabelWidth, fm.horizontalAdvance(QString::fromLatin1(text)));
  }
  grid.FieldWidth = fields_[0]->FullWidth();
  grid.FieldHeight = fields_[0]->sizeHint().height();
  grid.ButtonWidth = StripButtonWidth;
  grid.ButtonHeight = StripButtonHeight;
  return grid;
}

void TInPan::ApplyLayout(TDialogEntry Entry, const std::string& Title) {
  ApplyLayout(InPanLayoutOf(Entry), Title);
}

void TInPan::ApplyLayout(const TInPanLayout& Layout, const std::string& Title) {
  layout_ = Layout;
  title_ = Title;
  visible_ = Layout.Visible;
  const TInPanGeometry g = LayoutInPan(visible_, Grid());
  for (int n = 1; n <= InPanFieldCount; ++n) {
    const auto i = static_cast<std::size_t>(n);
    const bool shown = HasField(visible_, n);
    QLabel* label = FieldLabel(n);
    label->setText(shown && Layout.Labels[i] != nullptr ? ToQString(Layout.Labels[i]) : QString());
    label->setGeometry(ToQRect(g.Label[i]));
    Field(n)->setGeometry(ToQRect(g.Field[i]));
    label->setVisible(shown);
    Field(n)->setVisible(shown);
  }
  bevel_->setGeometry(ToQRect(g.Panel));
  strip_->setGeometry(ToQRect(g.Strip));
  ok_->setGeometry(ToQRect(g.Ok));
  cancel_->setGeometry(ToQRect(g.Cancel));
  setFixedSize(g.ClientWidth, g.ClientHeight);
  setWindowTitle(QStringLiteral(" ") + ToQString(Title));
}

void TInPan::SetPropFontSize(int PointSize) {
  if (!IsFontSize(PointSize)) return;
  setFont(PropFont(PointSize));
  ApplyLayout(layout_, title_);
}

}  // namespace navorix
