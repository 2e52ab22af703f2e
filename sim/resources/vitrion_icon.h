// vitrion_icon.h -- the programs' icon (VITRIONICO), painted by code.
#pragma once
#include <QIcon>
#include <QImage>

// The icon at the usual sizes (16 to 256 pixels): an eye whose blue iris is
// crossed by a few dark floaters. Needs a QGuiApplication.
QIcon vitrion_icon();

// One square rendering of the icon, `size` pixels wide, with a transparent
// background (ARGB32 premultiplied). Used for the installed PNG.
QImage vitrion_icon_image(int size);
