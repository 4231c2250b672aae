#pragma once
// The drawing helpers the sample book's picture files share.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

inline const QColor kLeather(92, 38, 20);
inline const QColor kBrass(214, 170, 82);
inline const QColor kPaper(250, 246, 232);

bool save(const QImage& image, const QString& path);
// Writes a file, making its folder; says on stderr when it cannot.
bool writeFile(const QString& path, const QByteArray& bytes);
// Little-endian 16- and 32-bit fields of the RIFF files.
QByteArray u16(int v);
QByteArray u32(quint32 v);
QFont font(int pixels, bool bold = false);
// Three looks (normal, hover, pressed) of a button: stem1.bmp … stem3.bmp.
bool buttonSet(const QString& dir, const QString& stem, const QSize& size, const QString& caption);
// Four looks (off, off hover, on hover, on) of a switch: stem1.bmp … stem4.bmp.
bool switchSet(const QString& dir, const QString& stem, const QSize& size, const QString& caption);

// The popup menus' and the message dialog's pictures.
bool drawMenus(const QString& skin);

// The generated pages the full-text find scans, with the keyword index over them.
bool drawSearchPages(const QString& pages);

// The sounds beside the program: button sounds (one in IMA ADPCM), a horn for a page link and
// four background songs, the first a MIDI song; and the pieces the videos reuse.
bool drawSounds(const QString& disc);
std::vector<qint16> chime();
QByteArray pcmSamples(const std::vector<qint16>& samples);

// The videos (Motion-JPEG AVI files): the start clip with its chime, the turning car of the first
// screen and a clip for the clip area; the 3-D clip's idle picture; the slide show's pictures.
bool drawVideos(const QString& skin, const QString& disc);

// The RAR archives of the archive page and a zip file to download, beside the program, and the
// stand-in setup of the demo software.
bool drawArchives(const QString& disc);

// The about and thesaurus windows' pictures, their buttons, and a scheme for the standard window.
bool drawSecondary(const QString& skin, const QString& pages);
