# Turns a Markdown guide into a help page: cmark-gfm (with tables) makes the body, this
# wraps it in the pages' head and navigation. Called as
#   cmake -DCMARK=cmark-gfm -DIN=guide.md -DOUT=page.html -P markdown_page.cmake
execute_process(COMMAND ${CMARK} --extension table --to html ${IN}
  OUTPUT_VARIABLE body RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmark-gfm could not read ${IN}")
endif()
string(REGEX MATCH "<h1>([^<]*)</h1>" heading "${body}")
set(title "${CMAKE_MATCH_1}")
file(WRITE ${OUT} "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>${title}</title>
<link rel=\"stylesheet\" href=\"help.css\">
</head>
<body>
<nav><a href=\"KelmorGuide.html\">Contents</a> <a href=\"KelmorScript.html\">Script reference</a>
<a href=\"KelmorRevisions.html\">Revision history</a> <a href=\"KelmorFAQ.html\">FAQ</a></nav>
${body}</body>
</html>
")
