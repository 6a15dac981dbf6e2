# Puts the style, the module and the page's script into the HTML template,
# so that the page is one file. A script's text may not hold "</script",
# which would end its element early; it is written "<\/script" there,
# which is the same string to JavaScript.
file(READ ${TEMPLATE} page)
file(READ ${STYLE} style)
file(READ ${MODULE} module)
file(READ ${SCRIPT} script)
string(REPLACE "</script" "<\\/script" module "${module}")
string(REPLACE "</script" "<\\/script" script "${script}")
string(REPLACE "/*STYLE*/" "${style}" page "${page}")
string(REPLACE "/*MODULE*/" "${module}" page "${page}")
string(REPLACE "/*SCRIPT*/" "${script}" page "${page}")
file(WRITE ${OUT} "${page}")
