# The Linux bundle carries its Qt, Qt's plugins and the two fonts the windows use: most players
# start the game through Proton or Wine, many on a Steam Deck or on Ubuntu, without Debian's
# Qt. Qt 6.4 deploys nothing on Linux and Debian has no AppImage tools, so the install rules
# gather the files, and Debian's patchelf points each at the bundle (RUNPATH $ORIGIN, the plugins
# one folder up). Nothing carried needs a glibc newer than Debian 12's 2.35 (Ubuntu 22.04,
# SteamOS 3.5).

# Qt's libraries, and those of their dependencies a player's system may lack. What has to match
# the player's system is never carried: glibc and its loader, libstdc++ and libgcc_s, OpenGL and
# drm, libxcb and libX11, fontconfig, freetype, harfbuzz, and their own dependencies.
set(kovex_carried_libraries
    libQt6Core libQt6Gui libQt6Widgets libQt6DBus libQt6XcbQpa
    libicuuc libicui18n libicudata libpcre2-16 libdouble-conversion libmd4c libb2 libgomp
    libxcb-icccm libxcb-image libxcb-keysyms libxcb-render-util libxcb-util
    libxcb-randr libxcb-render libxcb-shape libxcb-shm libxcb-sync libxcb-xfixes libxcb-xkb
    libxkbcommon libxkbcommon-x11)

# Debian's Qt lists its plugins each in a package of its own, beside Qt6Gui's.
foreach(plugin QXcbIntegrationPlugin QOffscreenIntegrationPlugin QXcbGlxIntegrationPlugin
               QXcbEglIntegrationPlugin QICOPlugin QGifPlugin QComposePlatformInputContextPlugin)
    find_package(Qt6${plugin} CONFIG REQUIRED PATHS ${Qt6Gui_DIR} NO_DEFAULT_PATH)
endforeach()

# The X11 platform (XWayland under Wayland) with its OpenGL integrations; the offscreen platform
# for checks without a screen; the image formats Qt reaches for with the icons (PNG is built
# in; JPEG would need Debian's libjpeg62, which other systems name differently); compose keys.
install(FILES $<TARGET_FILE:Qt6::QXcbIntegrationPlugin>
              $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QXcbGlxIntegrationPlugin>
              $<TARGET_FILE:Qt6::QXcbEglIntegrationPlugin> DESTINATION xcbglintegrations)
install(FILES $<TARGET_FILE:Qt6::QICOPlugin> $<TARGET_FILE:Qt6::QGifPlugin>
        DESTINATION imageformats)
install(FILES $<TARGET_FILE:Qt6::QComposePlatformInputContextPlugin>
        DESTINATION platforminputcontexts)
install(FILES app/qt.conf DESTINATION .)

# Liberation Sans 1.07 is the one Debian 12 draws the windows with (GPL 2 with the font
# exception, which lets it travel with a program); Comic Neue is under the SIL Open Font License.
set(fonts /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
          /usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
          /usr/share/fonts/truetype/liberation/LiberationSans-Italic.ttf
          /usr/share/fonts/truetype/liberation/LiberationSans-BoldItalic.ttf
          /usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf
          /usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf
          /usr/share/fonts/opentype/comic-neue/ComicNeue-Italic.otf
          /usr/share/fonts/opentype/comic-neue/ComicNeue-BoldItalic.otf)
install(FILES ${fonts} DESTINATION fonts)
install(FILES /usr/share/doc/fonts-liberation/copyright DESTINATION fonts
        RENAME LICENSE-LiberationSans.txt)
install(FILES /usr/share/doc/fonts-comic-neue/copyright DESTINATION fonts
        RENAME LICENSE-ComicNeue.txt)

list(JOIN kovex_carried_libraries "|" carried)
install(CODE "set(KOVEX_CARRIED \"^(${carried})\\\\.so\")")
install(SCRIPT cmake/carry_libraries.cmake)
