// Prints every table of a Jet file as npm's mdb-reader reads it, for the tests to compare
// with their own reading: per table "<table>NAME<name>", then per row its cells, each
// ended by "<cell>", the row ended by "<row>" (texts hold line breaks, so none are added). Texts and memos print as they are (an empty
// one as <NULL>, as mdbtools prints it), whole numbers in decimal, NULL as <NULL>, any
// other type as nothing.
// Usage: node MdbReaderDump.mjs MODULE_FOLDER FILE
import { createRequire } from "node:module";
import { readFileSync } from "node:fs";
import { pathToFileURL } from "node:url";
import path from "node:path";

const [moduleFolder, file] = process.argv.slice(2);
const entry = path.join(moduleFolder, "node_modules", "mdb-reader", "lib", "node", "index.js");
const { default: MDBReader } = await import(pathToFileURL(entry).href);
const reader = new MDBReader(readFileSync(file));
const compared = new Set(["byte", "integer", "long", "text", "memo"]);
let out = "";
for (const name of reader.getTableNames({ normalTables: true, systemTables: false })) {
    const table = reader.getTable(name);
    const columns = table.getColumns();
    out += "<table>" + name + "<name>";
    for (const row of table.getData()) {
        for (const column of columns) {
            const value = row[column.name];
            if (!compared.has(column.type)) {
                out += "<cell>";
            } else if (value === null || value === undefined || value === "") {
                out += "<NULL><cell>";
            } else {
                out += String(value).replace(/\0+$/, "") + "<cell>";
            }
        }
        out += "<row>";
    }
}
process.stdout.write(out);
