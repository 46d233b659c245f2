// A topic that uses every text tag, for the pictures of painted topics.
#pragma once

// Its red word "RED" is 14-point bold; its frame is drawn in 0x803020 and its
// one highlighted stretch in 0x70E0FF.
inline const char* const kShowcase =
    "<BKCOLOR=F4F0E8><LINECOLOR=808080>\n"
    "<FS=16><B><FC=93241F>Topic layout</B><FC=000000><FS=10><HLINE=SIZE=80%>\n"
    "<P>A paragraph with <B>bold</B>, <I>italic</I>, <U>underlined</U> and <S>struck out</S> words,\n"
    "<FF=Courier New>a fixed face<FF=Arial>, a <LINK=colors.vgt>link</LINK>,\n"
    "<LINKCOLOR=008000><LINK=more.vgt,TARGET=main>a green link</LINK>, <QM>quoted<QM> text, an\n"
    "<APOSTROPHE>apostrophe<APOSTROPHE>, <LESS>tag<GREATER> entities,<TAB>a tab,<SP>a space and a backspace<BS>.\n"
    "<NL><PAINTBK=FFE070>A highlighted stretch</PAINTBK> and <NOBREAK>text that does not wrap</NOBREAK>.\n"
    "<P><LS=2><LIST><LI>First item<LI>Second item<LIST><LI>Nested item<LI>Another</LIST><LI>Third item</LIST>\n"
    "<LS=0><INDENT=4>Indented text that wraps onto a second line to show the indent in use across the\n"
    "lines of the paragraph.<ADD_INDENT=4><NL>More indent.<UNINDENT><UNINDENT><NL>\n"
    "<SETCOL=NUM=0,POS=30%,GAP=2,LINECOLOR=808080><COLCAPTIONS=Tag,Meaning><STARTCOL>FS<COLBREAK>font size\n"
    "<COLBREAK>FC<COLBREAK>font colour, a longer text that wraps inside its column<ENDCOL><CLEARCOLS>\n"
    "<LINECOLOR=203080><FRAME=WIDTH=60%,HGAP=3>Text in a frame, narrowed by its keeps and wrapped inside it.</FRAME>\n"
    "<CENTER>A centred line</CENTER><NL><RIGHT>A right-aligned line</RIGHT><NL>\n"
    "<ALIGN=CENTER,WIDTH=60%>An aligned stretch of text in the middle sixty percent of the width.</ALIGN><NL>\n"
    "<FS=14><B><FC=FF0000>RED<FC=000000></B><FS=10> ends the topic.\n";

