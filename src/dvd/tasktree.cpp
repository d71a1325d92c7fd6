#include "dvd/tasktree.h"

#include "core/timetext.h"

struct TTaskTree::Item {
    TTaskNode record;
    Item* parent = nullptr;
    int row = 0;
    std::vector<std::unique_ptr<Item>> chapters;
};

TTaskTree::TTaskTree(TextSource volumeName, TextSource outputExtension, QObject* parent)
    : QAbstractItemModel(parent), m_volumeName(std::move(volumeName)),
      m_outputExtension(std::move(outputExtension)) {}

TTaskTree::~TTaskTree() = default;

void TTaskTree::clear() {
    beginResetModel();
    m_titles.clear();
    endResetModel();
}

void TTaskTree::resetWith(QList<TaskTitle> titles) {
    beginResetModel();
    m_titles.clear();
    m_titles.reserve(size_t(titles.size()));
    for (TaskTitle& t : titles) {
        auto title = std::make_unique<Item>();
        title->record = std::move(t.title);
        title->row = int(m_titles.size());
        title->chapters.reserve(size_t(t.chapters.size()));
        for (TTaskNode& c : t.chapters) {
            auto chapter = std::make_unique<Item>();
            chapter->record = std::move(c);
            chapter->parent = title.get();
            chapter->row = int(title->chapters.size());
            title->chapters.push_back(std::move(chapter));
        }
        m_titles.push_back(std::move(title));
    }
    endResetModel();
}

QModelIndex TTaskTree::addTitle(const TTaskNode& title) {
    const int row = int(m_titles.size());
    beginInsertRows({}, row, row);
    auto added = std::make_unique<Item>();
    added->record = title;
    added->row = row;
    m_titles.push_back(std::move(added));
    endInsertRows();
    return index(row, 0);
}

QModelIndex TTaskTree::addChapter(const QModelIndex& title, const TTaskNode& chapter) {
    Item* parentItem = item(title);
    if (!parentItem || parentItem->parent)
        return {};
    const int row = int(parentItem->chapters.size());
    beginInsertRows(title.siblingAtColumn(0), row, row);
    auto added = std::make_unique<Item>();
    added->record = chapter;
    added->parent = parentItem;
    added->row = row;
    parentItem->chapters.push_back(std::move(added));
    endInsertRows();
    return index(row, 0, title.siblingAtColumn(0));
}

TTaskTree::Item* TTaskTree::item(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<Item*>(index.internalPointer());
}

int TTaskTree::nodeCount() const {
    int count = 0;
    for (const auto& title : m_titles)
        count += 1 + int(title->chapters.size());
    return count;
}

const TTaskNode* TTaskTree::node(const QModelIndex& index) const {
    Item* it = item(index);
    return it ? &it->record : nullptr;
}

const TTaskNode* TTaskTree::listNode(const QModelIndex& index) const {
    Item* it = item(index);
    if (!it)
        return nullptr;
    return it->parent ? &it->parent->record : &it->record;
}

QList<QModelIndex> TTaskTree::allNodes() const {
    QList<QModelIndex> nodes;
    for (int t = 0; t < int(m_titles.size()); ++t) {
        const QModelIndex title = index(t, 0);
        nodes << title;
        for (int c = 0; c < int(m_titles[t]->chapters.size()); ++c)
            nodes << index(c, 0, title);
    }
    return nodes;
}

QList<QModelIndex> TTaskTree::checkedNodes() const {
    QList<QModelIndex> checked;
    for (const QModelIndex& n : allNodes())
        if (node(n)->Checked)
            checked << n;
    return checked;
}

QString TTaskTree::cellText(const QModelIndex& index) const {
    const TTaskNode* r = node(index);
    if (!r)
        return {};
    switch (index.column()) {
    case TitleColumn:
        return r->Caption;
    case StartColumn:
        return r->StartSeconds != r->OrigStartSeconds ? QStringLiteral("[ ") + r->StartText
                                                      : r->StartText;
    case EndColumn:
        return r->EndSeconds != r->OrigEndSeconds ? r->EndText + QStringLiteral(" ]") : r->EndText;
    case OutputColumn: {
        const QString volume = m_volumeName();
        const QString name = r->OutputName + m_outputExtension();
        return volume.isEmpty() ? name : volume + u'-' + name;
    }
    default:
        return {};
    }
}

void TTaskTree::nodeChanged(const QModelIndex& index) {
    emit dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(ColumnCount - 1));
}

void TTaskTree::invertCheck(const QModelIndex& index) {
    if (const TTaskNode* r = node(index))
        setChecked(index, !r->Checked);
}

void TTaskTree::setChecked(const QModelIndex& index, bool checked) {
    Item* it = item(index);
    if (!it || it->record.Checked == checked)
        return;
    it->record.Checked = checked;
    nodeChanged(index);
}

void TTaskTree::applyCheckCommand(CheckCommand command) {
    for (const QModelIndex& n : allNodes()) {
        const bool isTitle = node(n)->IsTitle;
        switch (command) {
        case CheckCommand::AllTitlesAndChapters:
            setChecked(n, true);
            break;
        case CheckCommand::AllTitles:
            if (isTitle)
                setChecked(n, true);
            break;
        case CheckCommand::AllChapters:
            if (!isTitle)
                setChecked(n, true);
            break;
        case CheckCommand::UncheckAll:
            setChecked(n, false);
            break;
        }
    }
}

void TTaskTree::CheckLongestTitle() {
    QModelIndex longest;
    for (const QModelIndex& n : allNodes())
        if (!longest.isValid() || node(n)->OrigDuration > node(longest)->OrigDuration)
            longest = n;
    if (longest.isValid())
        setChecked(longest, true);
}

void TTaskTree::writeChoice(const QModelIndex& index, Choice choice, int entry) {
    Item* it = item(index);
    if (!it)
        return;
    const auto write = [&](Item* target) {
        TTaskNode& r = target->record;
        switch (choice) {
        case Choice::Audio:
            r.AudioIndex = r.AudioLanguageIndex = entry;
            break;
        case Choice::Subtitle:
            r.SubtitleIndex = entry;
            break;
        case Choice::Angle:
            r.AngleIndex = entry;
            break;
        }
    };
    write(it);
    if (!it->parent)
        for (const auto& chapter : it->chapters)
            write(chapter.get());
}

void TTaskTree::setSpan(const QModelIndex& index, const QString& startText,
                        const QString& endText) {
    Item* it = item(index);
    if (!it)
        return;
    TTaskNode& r = it->record;
    r.StartText = startText;
    r.EndText = endText;
    r.StartSeconds = TimeTextToSeconds(startText);
    r.EndSeconds = TimeTextToSeconds(endText);
    nodeChanged(index);
}

void TTaskTree::refresh() {
    for (const QModelIndex& n : allNodes())
        nodeChanged(n);
}

QModelIndex TTaskTree::index(int row, int column, const QModelIndex& parent) const {
    if (column < 0 || column >= ColumnCount || row < 0)
        return {};
    if (!parent.isValid())
        return row < int(m_titles.size()) ? createIndex(row, column, m_titles[row].get())
                                          : QModelIndex();
    Item* p = item(parent);
    if (!p || p->parent || row >= int(p->chapters.size()))
        return {};
    return createIndex(row, column, p->chapters[row].get());
}

QModelIndex TTaskTree::parent(const QModelIndex& child) const {
    Item* it = item(child);
    if (!it || !it->parent)
        return {};
    return createIndex(it->parent->row, 0, it->parent);
}

int TTaskTree::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return int(m_titles.size());
    Item* p = item(parent);
    return p && !p->parent && parent.column() == 0 ? int(p->chapters.size()) : 0;
}

int TTaskTree::columnCount(const QModelIndex&) const {
    return ColumnCount;
}

QVariant TTaskTree::data(const QModelIndex& index, int role) const {
    const TTaskNode* r = node(index);
    if (!r)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return cellText(index);
    case Qt::CheckStateRole:
        if (index.column() == TitleColumn)
            return r->Checked ? Qt::Checked : Qt::Unchecked;
        return {};
    case ImageIndexRole:
        return index.column() == TitleColumn ? QVariant(r->ImageIndex) : QVariant();
    default:
        return {};
    }
}

bool TTaskTree::setData(const QModelIndex& index, const QVariant&, int role) {
    // A click on the check box inverts the flag; the box then shows the new flag.
    if (role != Qt::CheckStateRole || index.column() != TitleColumn || !node(index))
        return false;
    invertCheck(index);
    emit checkToggled(index);
    return true;
}

Qt::ItemFlags TTaskTree::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == TitleColumn)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant TTaskTree::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TitleColumn:
        return QStringLiteral("Title");
    case StartColumn:
        return QStringLiteral("Start");
    case EndColumn:
        return QStringLiteral("End");
    case OutputColumn:
        return QStringLiteral("Output File");
    default:
        return QString();
    }
}
