# Writes the manual page redkite(6) from the program's own --help texts, so the two cannot drift.
#   cmake -DREDKITE=path/to/redkite -DVERSION=x.y -DOUTPUT=redkite.6 -P ManPage.cmake
function(help_of out)
  execute_process(COMMAND ${REDKITE} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "redkite ${ARGN} --help failed")
  endif()
  # roff: a backslash is written \e; a line starting with . or ' would be a request.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

help_of(main)
set(page ".TH REDKITE 6 \"\" \"redkite ${VERSION}\" \"Games Manual\"
.SH NAME
redkite \\- a real-time audiovisual presentation
.SH SYNOPSIS
.B redkite
[\\fIOPTIONS\\fR]
.br
.B redkite render
|
.B capture
|
.B trace
|
.B spectrum
[\\fIOPTIONS\\fR]
.SH DESCRIPTION
Fourteen 3D scenes timed to one piece of music. With no arguments the setup dialog asks for the
display mode, then the show plays in a window with its music. The headless commands render frames
to PNG files, capture the whole show to an MP4 video with its music, or write every device call of
chosen frames as JSON lines, or write the spectrum file from the decoded music.
.SH OPTIONS
.nf
${main}.fi
")
foreach(command render capture trace spectrum)
  help_of(text ${command})
  string(APPEND page ".SS ${command}\n.nf\n${text}.fi\n")
endforeach()
string(APPEND page ".SH EXIT STATUS
The show ends with 1 after a normal run and 0 when start-up fails. The headless commands end with 0
on success, 1 when a frame or an output could not be made (the one line on standard error says which
file and why), and 2 for a bad command line.
.SH FILES
.TP
.I /usr/share/redkite
The show's content when installed: effects, textures, meshes, camera paths, the music and its
spectrum file.
")
file(WRITE ${OUTPUT} "${page}")
