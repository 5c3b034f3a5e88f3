#include "navigator.h"

#include "cp1252.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>
#include <charconv>

namespace ts {

namespace {

QString keyText(std::string_view key) {
    return fromCp1252(key);
}

// The province a key lies in ("12 PROV", "12 COM 3", "12 SITES"...), or 0.
int provinceOfKey(std::string_view key) {
    int province = 0;
    const auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), province);
    if (ec != std::errc() || end == key.data() + key.size() || *end != ' ') return 0;
    if (key.substr(static_cast<std::size_t>(end - key.data()) + 1).starts_with("NATION")) return 0;
    return province >= 1 && province <= kMaxProvince ? province : 0;
}

} // namespace

Navigator::Navigator(MapDocument& doc, const ReferenceData& ref, QWidget* parent)
    : QTreeWidget(parent), mModel(doc, ref), mDoc(doc), mRef(ref) {
    setObjectName("trvNavigator");
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
    viewport()->setMouseTracking(true); // the status hint follows the mouse without a button held
    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { fillProvince(provinceOfKey(toCp1252(keyOf(item)))); });
}

void Navigator::BuildNavigator() {
    clear();
    mNodes.clear();
    std::fill(mUnfilled.begin(), mUnfilled.end(), false);
    for (const NavigatorNode& n : mModel.Build(false)) {
        QTreeWidgetItem* item = AddNavigatorNode(n.parentKey, n.key, n.caption);
        if (!item || n.parentKey != "PROVINCES") continue;
        mUnfilled[provinceOfKey(n.key)] = true;
        if (n.hasContents) item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (QTreeWidgetItem* map = node("MAP")) map->setExpanded(true);
}

void Navigator::fillProvince(int province) {
    if (province < 1 || province > kMaxProvince || !mUnfilled[province]) return;
    mUnfilled[province] = false;
    std::vector<NavigatorNode> nodes;
    AppendProvinceNodes(mDoc, mRef, province, nodes);
    for (std::size_t i = 1; i < nodes.size(); ++i)
        AddNavigatorNode(nodes[i].parentKey, nodes[i].key, nodes[i].caption);
    if (QTreeWidgetItem* item = mNodes.value(keyText(nodes.front().key)))
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void Navigator::expandAll() {
    for (int p = 1; p <= kMaxProvince; ++p)
        fillProvince(p);
    QTreeWidget::expandAll();
}

QTreeWidgetItem* Navigator::AddNavigatorNode(std::string_view parentKey, std::string_view key,
                                             std::string_view caption) {
    const QString k = keyText(key);
    if (k.isEmpty()) return nullptr;
    QTreeWidgetItem* parent = nullptr;
    if (!parentKey.empty()) {
        parent = node(parentKey); // a province's branch is made before anything is added to it
        if (!parent) return nullptr;
    }
    if (mNodes.contains(k)) return nullptr;
    auto* item = new QTreeWidgetItem(QStringList{fromCp1252(caption)});
    item->setData(0, Qt::UserRole, k);
    if (parent)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    mNodes.insert(k, item);
    return item;
}

void Navigator::forget(QTreeWidgetItem* item) {
    for (int i = 0; i < item->childCount(); ++i)
        forget(item->child(i));
    const QString key = keyOf(item);
    if (mNodes.remove(key) && item->parent() && keyOf(item->parent()) == QLatin1String("PROVINCES"))
        mUnfilled[provinceOfKey(toCp1252(key))] = false;
}

bool Navigator::RemoveNavigatorNode(std::string_view key) {
    QTreeWidgetItem* item = node(key);
    if (!item) return false;
    forget(item);
    delete item; // takes its children and its place in the tree with it
    return true;
}

void Navigator::RefreshNationNode(int nation) {
    if (nation < 0 || nation >= kNationCount) return;
    const NationDataType& n = mDoc.Nations[nation];
    RemoveNavigatorNode(NationNodeKey(nation));
    if (SetNationNodeStrings(mDoc, mRef, nation))
        AddNavigatorNode(n.NodeParentKey.view(), n.NodeKey.view(), n.NodeText.view());
}

void Navigator::RefreshProvinceNodes(int province) {
    if (province < 1 || province > kMaxProvince) return;
    std::vector<NavigatorNode> nodes;
    AppendProvinceNodes(mDoc, mRef, province, nodes);
    QTreeWidgetItem* item = mNodes.value(keyText(nodes.front().key));
    if (!item) return;
    item->setText(0, fromCp1252(nodes.front().caption));
    if (mUnfilled[province]) { // made from the records when it is first reached
        item->setChildIndicatorPolicy(nodes.size() > 1 ? QTreeWidgetItem::ShowIndicator
                                                       : QTreeWidgetItem::DontShowIndicatorWhenChildless);
        return;
    }

    QString chosen;
    for (QTreeWidgetItem* up = currentItem(); up; up = up->parent())
        if (up->parent() == item) chosen = keyOf(currentItem());
    QSet<QString> open;
    std::function<void(QTreeWidgetItem*)> remember = [&](QTreeWidgetItem* branch) {
        if (branch->isExpanded()) open.insert(keyOf(branch));
        for (int i = 0; i < branch->childCount(); ++i) remember(branch->child(i));
    };
    while (item->childCount() > 0) {
        QTreeWidgetItem* child = item->child(0);
        remember(child);
        forget(child);
        delete child;
    }

    for (std::size_t i = 1; i < nodes.size(); ++i) {
        QTreeWidgetItem* added = AddNavigatorNode(nodes[i].parentKey, nodes[i].key, nodes[i].caption);
        if (added && open.contains(keyOf(added))) added->setExpanded(true);
    }
    if (!chosen.isEmpty() && !selectNode(toCp1252(chosen))) selectNode(nodes.front().key);
}

QTreeWidgetItem* Navigator::node(std::string_view key) {
    fillProvince(provinceOfKey(key));
    return mNodes.value(keyText(key), nullptr);
}

QString Navigator::keyOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

bool Navigator::selectNode(std::string_view key) {
    QTreeWidgetItem* item = node(key);
    if (!item) return false;
    const QSignalBlocker block(this);
    setCurrentItem(item);
    scrollToItem(item);
    return true;
}

void Navigator::NodeClick() {
    mModel.NodeClick();
}

void Navigator::NodeClick(std::string_view key) {
    selectNode(key);
    mModel.NodeClick(key, mLeftButton);
}

void Navigator::z_trvNavigatorNodeClick(int province) {
    // The map moved its own selection already; this is not a left click in the tree.
    mLeftButton = false;
    NodeClick(ProvinceNodeKey(province));
}

void Navigator::runNodeClick(QTreeWidgetItem* item) {
    const std::string key = toCp1252(keyOf(item));
    mModel.NodeClick(key, mLeftButton);
}

void Navigator::mousePressEvent(QMouseEvent* event) {
    mLeftButton = event->button() == Qt::LeftButton;
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    // A press on the expand arrow only opens or closes the branch.
    const bool onBranch = item && event->position().x() < visualItemRect(item).left();
    QTreeWidget::mousePressEvent(event);
    if (!item || onBranch) return;
    if (currentItem() != item) {
        const QSignalBlocker block(this);
        setCurrentItem(item);
    }
    runNodeClick(item);
}

void Navigator::mouseMoveEvent(QMouseEvent* event) {
    if (setStatus) setStatus("MESSAGE", kStatusText);
    QTreeWidget::mouseMoveEvent(event);
}

void Navigator::keyPressEvent(QKeyEvent* event) {
    mLeftButton = false;
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before) runNodeClick(currentItem());
}

} // namespace ts
