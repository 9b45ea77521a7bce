#pragma once

// An icon built on first use: QIcon::isNull(), pixmap(), paint() and the
// other queries build the real icon once and answer from it. Setting such an
// icon on a window or a button costs nothing until it is drawn, so windows
// created at start-up and shown later pay for their pictures (SVG rendering,
// icon-theme look-ups) only when shown.

#include <QIcon>

#include <functional>

namespace ralvo::platform {

// `make` must return a non-null icon: the lazy icon says it is not null
// without building it.
QIcon LazyIcon(std::function<QIcon()> make);

} // namespace ralvo::platform
