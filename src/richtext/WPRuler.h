#pragma once

#include <QTextOption>
#include <QWidget>

class TWPRichText;

// The editor's ruler, in inches with numbers: shows the first, left and
// right indent and the tab stops of the paragraph at the caret, and moves
// them by dragging.  A click on an empty place sets a tab stop of the kind
// chosen at the left end; a tab dragged off the ruler goes.
class TWPRuler : public QWidget
{
    Q_OBJECT
public:
    explicit TWPRuler(QWidget *parent = nullptr);

    void SetEditor(TWPRichText *editor);

    // The kind of tab a click sets; the box at the left end cycles it.
    QTextOption::TabType NewTabType = QTextOption::LeftTab;

    // Where a measure in twips is drawn, and the other way round.
    int XOfTwips(int twips) const;
    int TwipsOfX(int x) const;

    QSize sizeHint() const override;

signals:
    // A mouse button went down on the ruler (it may move tabs or indents).
    void MousePressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Marker { None, FirstIndent, LeftIndent, RightIndent, Tab };
    int Origin() const;
    int PageRightTwips() const;
    void Commit();

    TWPRichText *editor_ = nullptr;
    Marker dragging_ = Marker::None;
    int dragTab_ = -1;
    bool dragOff_ = false;
    // the paragraph values while dragging, in twips
    int first_ = 0, left_ = 0, right_ = 0;
    QList<QTextOption::Tab> tabs_;
};
