# Makes a help page from its body: an HTML fragment as it is, a Markdown guide through
# cmark-gfm (with tables). Every page gets the same head, style sheet and navigation, and
# its first heading as its title. Called as
#   cmake [-DCMARK=cmark-gfm] -DIN=body.html|guide.md -DOUT=page.html -P help_page.cmake
if(IN MATCHES "\\.md$")
  execute_process(COMMAND ${CMARK} --extension table --to html ${IN} OUTPUT_VARIABLE body RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmark-gfm could not read ${IN}")
  endif()
else()
  file(READ ${IN} body)
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
