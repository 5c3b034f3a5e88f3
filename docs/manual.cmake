cmake_minimum_required(VERSION 3.25)
# Builds the user manual: the README's opening and the sections written for map makers, as one HTML
# page with a table of contents, and beside it the screenshots those sections show.
#   cmake -DREADME=README.md -DSCREENSHOTS=docs/screenshots -DCMARK=cmark-gfm -DVERSION=x.y.z
#         -DOUT=folder -P manual.cmake
# The other README sections are about building and measuring Tessary, not about using it.
set(user_sections "Install" "Using the editor" "Scripts")

file(READ "${README}" readme)
# The opening paragraphs, without the title line (the page has its own).
string(FIND "${readme}" "\n## " at)
string(SUBSTRING "${readme}" 0 ${at} markdown)
string(REGEX REPLACE "^# [^\n]*\n" "" markdown "${markdown}")
math(EXPR at "${at} + 1")
string(SUBSTRING "${readme}" ${at} -1 rest)
while(NOT rest STREQUAL "")
    string(FIND "${rest}" "\n## " next)
    if(next EQUAL -1)
        set(section "${rest}")
        set(rest "")
    else()
        math(EXPR next "${next} + 1")
        string(SUBSTRING "${rest}" 0 ${next} section)
        string(SUBSTRING "${rest}" ${next} -1 rest)
    endif()
    string(REGEX MATCH "^## ([^\n]*)" heading "${section}")
    if(CMAKE_MATCH_1 IN_LIST user_sections)
        string(APPEND markdown "\n${section}")
        list(REMOVE_ITEM user_sections "${CMAKE_MATCH_1}")
    endif()
endwhile()
# A renamed heading would otherwise drop its section from the manual without a word.
if(user_sections)
    message(FATAL_ERROR "The README has no section \"${user_sections}\" for the manual")
endif()

# The screenshots go into screenshots/ beside the page; a picture the README names but the
# repository lacks would leave a hole in the manual, so it stops the build.
file(REMOVE_RECURSE "${OUT}/screenshots")
file(MAKE_DIRECTORY "${OUT}/screenshots")
string(REGEX MATCHALL "\\(docs/screenshots/[^)]+\\)" pictures "${markdown}")
foreach(picture IN LISTS pictures)
    string(REGEX REPLACE "^\\(docs/screenshots/(.*)\\)$" "\\1" name "${picture}")
    if(NOT EXISTS "${SCREENSHOTS}/${name}")
        message(FATAL_ERROR "The README shows docs/screenshots/${name}, which is not there")
    endif()
    file(COPY "${SCREENSHOTS}/${name}" DESTINATION "${OUT}/screenshots")
endforeach()
string(REPLACE "](docs/screenshots/" "](screenshots/" markdown "${markdown}")

file(WRITE "${OUT}/manual.md" "${markdown}")
execute_process(COMMAND "${CMARK}" --extension table --to html "${OUT}/manual.md"
                OUTPUT_VARIABLE body RESULT_VARIABLE failed)
file(REMOVE "${OUT}/manual.md")
if(failed)
    message(FATAL_ERROR "${CMARK} could not turn the README into HTML")
endif()

# Each heading gets an anchor and a line in the contents.
string(REGEX MATCHALL "<h[23]>[^<]*</h[23]>" headings "${body}")
set(contents "")
set(number 0)
foreach(heading IN LISTS headings)
    math(EXPR number "${number} + 1")
    string(REGEX MATCH "^<(h[23])>([^<]*)<" _ "${heading}")
    set(level ${CMAKE_MATCH_1})
    set(title "${CMAKE_MATCH_2}")
    string(REPLACE "${heading}" "<${level} id=\"s${number}\">${title}</${level}>" body "${body}")
    string(APPEND contents "<li class=\"${level}\"><a href=\"#s${number}\">${title}</a></li>\n")
endforeach()

file(WRITE "${OUT}/manual.html" "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>Tessary ${VERSION}: user manual</title>
<style>
body { font-family: sans-serif; line-height: 1.45; max-width: 62em; margin: 1em auto; padding: 0 1em; color: #222; }
h1, h2, h3 { color: #4a2c0a; }
h2 { border-bottom: 1px solid #d8c8a8; padding-bottom: .2em; margin-top: 2em; }
nav ul { list-style: none; padding-left: 0; }
nav li.h3 { padding-left: 1.5em; }
code, pre { background: #f4f0e8; font-family: monospace; }
pre { padding: .6em; overflow-x: auto; }
table { border-collapse: collapse; }
th, td { border: 1px solid #d8c8a8; padding: .25em .6em; }
img { max-width: 100%; border: 1px solid #ccc; margin: .5em 0; }
</style>
</head>
<body>
<h1>Tessary ${VERSION}: user manual</h1>
<nav>
<ul>
${contents}</ul>
</nav>
${body}</body>
</html>
")
