#include "form3.h"

#include "controls/command_button.h"
#include "controls/kovex_fonts.h"
#include "controls/static_label.h"
#include "controls/twips.h"

#include <QPushButton>

Form3::Form3() {
    setWindowTitle(QStringLiteral("Info"));
    setFont(kovex_fonts::standard());
    setFixedSize(twips(4680), twips(3195));

    Command1 = placed(new CommandButton(QStringLiteral("OK"), font(), this), 3360, 2760, 1215, 375);
    const QFont comic = kovex_fonts::comic();
    const auto caption = [&](const QString& text) { return new StaticLabel(text, comic, this); };
    // Read top to bottom: description, rights notice, contact, and the warning beside "OK".
    Label1[1] = placed(caption(QStringLiteral("Dieses Programm dient dazu Mech´s bei Velmora Demo "
                                              "Alpha die Mechs leicht und schnell auszutauschen.")),
                       1200, 120, 3255, 855);
    Label1[4] = placed(caption(QStringLiteral("© 2026 das KOVEX-Team. Alle Rechte vorbehalten. "
                                              "Weitergabe nur unverändert und kostenlos. ")),
                       120, 1080, 4335, 615);
    Label1[2] = placed(caption(QStringLiteral("Bei Fragen o. ä. schicke eine Mail an:")), 120, 1800,
                       4335, 255);
    Label1[3] = placed(caption(QStringLiteral("kovex@example.org")), 120, 2040, 4335, 255);
    Label1[0] = placed(new StaticLabel(QStringLiteral("Die Benutzung erfolgt auf eigene Gefahr!"),
                                       kovex_fonts::comicBold(), this),
                       120, 2640, 3135, 495);

    Command1->setAccessibleDescription(QStringLiteral("Schließt das Info-Fenster"));
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
}
