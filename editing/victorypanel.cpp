#include "victorypanel.h"

#include "valuerules.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace ts {

namespace {

// On leaving the box a value is brought into the range; an empty box means not set.
void clampOnLeaving(QLineEdit* box, std::int16_t min, std::int16_t max) {
    QObject::connect(box, &QLineEdit::editingFinished, box, [box, min, max] {
        if (box->text().trimmed().isEmpty()) return;
        const QString valid = QString::number(ClampInt(box->text(), min, max));
        if (box->text() != valid) box->setText(valid);
    });
}

} // namespace

VictoryPanel::VictoryPanel(QVBoxLayout* frame, MapDocument& doc, PanelHooks hooks)
    : QObject(frame->parentWidget()), mDoc(doc), mHooks(std::move(hooks)) {
    QWidget* body = frame->parentWidget();
    auto* grid = new QGridLayout;
    const auto changed = [this] {
        if (!mRefreshing) mHooks.changed(VictoryDirty);
    };

    mProvinceValue = new QLineEdit(body);
    mProvinceValue->setObjectName(QStringLiteral("txtVictoryPointValue"));
    mProvinceValue->setMaximumWidth(60);
    mHooks.hintOn(
        mProvinceValue,
        QStringLiteral("The player who has control over this province will control from one to seven "
                       "victory points. If the province has a fort then the controller of the fort "
                       "controls the victory points. <1-7>"));
    clampOnLeaving(mProvinceValue, 1, 7);
    connect(mProvinceValue, &QLineEdit::textChanged, this, changed);
    grid->addWidget(new QLabel(QStringLiteral("Province's victory points"), body), 0, 0);
    grid->addWidget(mProvinceValue, 0, 1);

    mCondition = new QComboBox(body);
    mCondition->setObjectName(QStringLiteral("cboVictoryCondition"));
    mCondition->addItems(VictoryConditionNames());
    mHooks.hintOn(mCondition,
                  QStringLiteral("Sets the victory condition of the map and the number it needs."));
    mConditionValue = new QLineEdit(body);
    mConditionValue->setObjectName(QStringLiteral("txtVictoryPoints"));
    mConditionValue->setMaximumWidth(60);
    mHooks.hintOn(mConditionValue, QStringLiteral("The number the victory condition needs. <0-32000>"));
    clampOnLeaving(mConditionValue, 0, 32000);
    connect(mConditionValue, &QLineEdit::textChanged, this, changed);
    connect(mCondition, &QComboBox::activated, this, [this, changed](int index) {
        if (mRefreshing) return;
        const QString before = mConditionValue->text();
        const QString after = VictoryValueAfterChoice(index, before);
        mRefreshing = true; // one change, one commit
        mConditionValue->setText(after);
        mRefreshing = false;
        mConditionValue->setVisible(index > 0);
        if (index > 0 && after != before) {
            mConditionValue->selectAll();
            mConditionValue->setFocus();
        }
        changed();
    });
    grid->addWidget(new QLabel(QStringLiteral("Map's victory condition"), body), 1, 0);
    grid->addWidget(mCondition, 1, 1);
    grid->addWidget(mConditionValue, 1, 2);
    frame->addLayout(grid);
    ShowVictoryPoints(-1);
}

void VictoryPanel::ShowVictoryPoints(int province) {
    const int shown = province >= 1 && province <= kMaxProvince ? province : -1;
    // The box being typed in keeps its text while each keystroke commits and the panel is shown again.
    const auto typing = [same = shown == mShown](const QLineEdit* box) { return same && box->hasFocus(); };
    mShown = shown;
    mRefreshing = true;
    const int vp = mShown >= 1 ? mDoc.Provinces[mShown].VictoryPoints : -1;
    const QString vpText = vp == -1 ? QString() : QString::number(vp);
    if (!typing(mProvinceValue) && mProvinceValue->text() != vpText) mProvinceValue->setText(vpText);
    const int type = mDoc.VictoryConditionType;
    const int index = type > 0 && type < mCondition->count() ? type : 0;
    mCondition->setCurrentIndex(index);
    const QString value = index > 0 && mDoc.VictoryConditionValue != -1
                              ? QString::number(mDoc.VictoryConditionValue)
                              : QString();
    if (!typing(mConditionValue) && mConditionValue->text() != value) mConditionValue->setText(value);
    mConditionValue->setVisible(index > 0);
    mRefreshing = false;
}

void VictoryPanel::CommitVictory(int province) {
    if (province != mShown) return;
    ts::CommitVictory(mDoc, province, mCondition->currentIndex(), mConditionValue->text(),
                      mProvinceValue->text());
}

} // namespace ts
