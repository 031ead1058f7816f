#include "store/Convnot.h"

#include "app/Placement.h"

#include <QLabel>

TConvertNotify::TConvertNotify(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("ConvertNotify"));
    setFixedSize(300, 70);
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto *frame = new QLabel(this);
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(rect());
    WhatAmIdoing = new QLabel(QStringLiteral("Converting to new Quillary! file format...."), this);
    WhatAmIdoing->setObjectName(QStringLiteral("WhatAmIdoing"));
    WhatAmIdoing->setGeometry(12, 10, 276, 20);
    Status = new QLabel(QStringLiteral("Working..."), this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setGeometry(12, 38, 276, 20);
    const QSize screen = ScreenSize();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}
