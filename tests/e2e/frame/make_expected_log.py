#!/usr/bin/env python3
"""Writes expected/initialize_deinitialize.html: the log of one start-up and shut-down, built from the
log's templates, independently of the plug-in's code. Build stamps appear as STAMP and TIME."""
import os

CRLF = "\r\n"
out = []


def line(tabs, text):
    out.append("\t" * tabs + text + CRLF)


shading = [0]


def row(kind_cell, message_cell):
    line(7, '<tr bgcolor="#E9E9E9">' if shading[0] == 0 else '<tr bgcolor="#D7D7D7">')
    shading[0] ^= 1
    line(8, kind_cell)
    line(8, message_cell)
    line(7, "</tr>")


def info(message):
    row('<td width="10%" valign="top" style="text-indent: 3pt"><font face="Arial" color="#009900" size="2">'
        '<b>Information:</b></font></td>',
        '<td width="90%" valign="top"><font face="Arial" color="#000000" size="2">' + message + '</font></td>')


def label(name, text):
    row('<td width="10%" valign="top" style="text-indent: 3pt"><font face="Arial" size="2" color="#000000">'
        '<b>' + name + '</b></font></td>',
        '<td width="90%" valign="top"><font face="Arial" color="#000000" size="2">' + text + '<br></font></td>')


TITLES = ["Allgemeine Informationen:", "Fähigkeiten der Hardware:", "Initialisierung:", "Ablauflogging:",
          "Deinitialisierung:"]


def begin(index):
    line(3, "<br><br>")
    line(3, '<font face="Arial" size="2" color="#003366"><b>' + TITLES[index] + '</b></font><br>')
    line(3, '<table width="100%" border="0" cellpadding="1" cellspacing="0" bgcolor="#000000">')
    line(4, "<tr>")
    line(5, "<td>")
    line(6, '<table width="100%" border="0" cellpadding="0" cellspacing="0" bgcolor="#E9E9E9">')


def end():
    line(6, "</table>")
    line(5, "</td>")
    line(4, "</tr>")
    line(3, "</table>")


COMPONENT = "Letzte Änderung: STAMP -- Letzte Kompillierung: TIME"
# The stand-in engine's defaults: version 6.40 as the nearest var, edition 4 as the var 4096.
version_var = round(6.40 * 1024)

line(0, "<html>")
line(1, "<head>")
line(2, "<title>Vantor 3.0 Debuginformationen</title>")
line(1, "</head>")
line(1, "<body>")
line(2, '<div align="center">')
line(3, '<font color="#003366" size="6" face="Arial Black">VANTOR 3.0 - Logfile</font><br>')
line(3, '<font color="#000000" size="1" face="Arial">Shader-Rendering-Plugin für die Acknex 6 Engine</font>')
line(2, "</div>")
line(2, '<div align="left">')

begin(0)
label('<font color="007EFF">Plugininformationen:</font>', "")
label("Dateiname:", "Vantor3.dll")
label("Version:", "3.0 Beta")
label("Buildtyp:", "Release")
label("Builnummer:", "1058")
label(" ", " ")
label('<font color="007EFF">Komponenten:</font>', "")
for name in ["Debugsystem:", "Viewverwaltung:", "Texturverwaltung:", "Effektverwaltung:", "3D Objektverwaltung:",
             "Post-Processor:", "Rendercore:"]:
    label(name, COMPONENT)
label(" ", " ")
label('<font color="007EFF">Acknex 6 Engine:</font>', "")
label("Edition:", "Professional")
label("Version:", "V%f" % (version_var / 1024.0))
label(" ", " ")
end()

begin(2)
info("Das Handle des Anwendungsfensters der Acknex 6 Engine wurde verfügbar gemacht.")
info("Das DirectX Graphics 9 Hauptobjekt wurde verfügbar gemacht")
info("Das DirectX Graphics 9 Deviceobjekt wurde verfügbar gemacht")
info("Das DirectX Graphics 9 Devicecaps wurde verfügbar gemacht")
info("Der Viewmanger wurde erfolgreich initialisiert")
info("Der Texturemanager wurde erfolgreich initialisiert")
info("Der Effektmanager wurde erfolgreich initialisiert")
info("Der Objektmanager wurde erfolgreich initialisiert")
# The post-processor's render targets and effects, from the effect files in VTR3Content.
for texture in range(30000, 30007):
    info("Die Textur mit der ID: %d wurde erfolgreich erstellt" % texture)
    info("Die Textur mit der ID: %d wurde erfolreich initialisiert" % texture)
for effect in [30002, 30004, 30005, 30007, 30006, 30008, 30009, 30010, 30011]:
    info("Der Effekt mit der ID: %d wurde erfolgreich erstellt" % effect)
    info("Der Effekt mit der ID: %d wurde erfolgreich initialisiert und die Technik: 0 wird verwendet." % effect)
info("Der Post-Processor wurde erfolgreich initialisiert")
info("Das Rendercore wurde erfolreich initialisiert")
end()

begin(1)
info("Es wurde eine gültige Acknex 6 Version gefunden")
end()

begin(3)
info("Der Anwendungstitel ( Acknex 6 Fenstertitel ) wurde geändert")
end()

begin(4)
info("Der Post-Processor wurde erfolgreich deinitialisiert")
info("Der Objektmanager wurde erfolgreich deinitialisiert")
info("Der Effektmanager wurde erfolgreich deinitialisiert")
info("Der Viewmanager wurde erfolgreich deinitialisiert")
info("Der Texturemanager wurde erfolgreich deinitialisiert")
info("Das Rendercore wurde erfolgreich deinitialisiert")
end()

line(2, "</div>")
line(1, "</body>")
line(0, "</html>")

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "expected", "initialize_deinitialize.html"), "wb") as f:
    f.write("".join(out).encode("cp1252"))
