#pragma once

#include "dvd/tasknode.h"

#include <QAbstractItemModel>

#include <functional>
#include <memory>
#include <vector>

// The titles of the opened disc with their chapters beneath: the model behind the task list.
// Column 0 is the caption with the check box, 1 start, 2 end, 3 the output file name, 4 empty.
class TTaskTree : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { TitleColumn, StartColumn, EndColumn, OutputColumn, SpareColumn, ColumnCount };
    enum Role { ImageIndexRole = Qt::UserRole + 1 };

    // The output column's prefix and extension are read when a row is drawn, so the tree shows
    // a new volume name or profile as soon as refresh() is called.
    using TextSource = std::function<QString()>;
    TTaskTree(TextSource volumeName, TextSource outputExtension, QObject* parent = nullptr);
    ~TTaskTree() override;

    // --- building ---
    void clear();
    // Replaces everything with these titles and chapters in one go.
    void resetWith(QList<TaskTitle> titles);
    QModelIndex addTitle(const TTaskNode& title);
    QModelIndex addChapter(const QModelIndex& title, const TTaskNode& chapter);

    // --- reading ---
    int nodeCount() const; // titles and chapters
    bool isEmpty() const { return m_titles.empty(); }
    // Nodes change only through the commands below.
    const TTaskNode* node(const QModelIndex& index) const;
    // The node a chapter takes its streams from: itself for a title, else its parent.
    const TTaskNode* listNode(const QModelIndex& index) const;
    // Every node in tree order: each title followed by its chapters.
    QList<QModelIndex> allNodes() const;
    QList<QModelIndex> checkedNodes() const;
    QString cellText(const QModelIndex& index) const; // the text a cell shows

    // --- commands ---
    void invertCheck(const QModelIndex& index);
    void setChecked(const QModelIndex& index, bool checked);
    enum class CheckCommand { AllTitlesAndChapters, AllTitles, AllChapters, UncheckAll };
    void applyCheckCommand(CheckCommand command);
    // The first title of the greatest length is checked; nothing on an empty tree.
    void CheckLongestTitle();
    // A choice on a title also overwrites the same choice on each of its chapters.
    enum class Choice { Audio, Subtitle, Angle };
    void writeChoice(const QModelIndex& index, Choice choice, int entry);
    // The one way a span is trimmed, by the time editor and the command line alike: the texts
    // as given (a typed fraction stays), the seconds they stand for.
    void setSpan(const QModelIndex& index, const QString& startText, const QString& endText);
    // Shows changed volume names, extensions or records.
    void refresh();

    // --- QAbstractItemModel ---
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void checkToggled(const QModelIndex& index);

private:
    struct Item;
    Item* item(const QModelIndex& index) const;
    void nodeChanged(const QModelIndex& index);

    TextSource m_volumeName;
    TextSource m_outputExtension;
    std::vector<std::unique_ptr<Item>> m_titles;
};
