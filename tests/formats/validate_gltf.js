// Runs the Khronos glTF validator on one .gltf or .glb file:
//   node validate_gltf.js <gltf-validator module folder> <file>
// Prints the number of errors and warnings, then one line per error or
// warning; exits with 0 when there are none, 1 otherwise, 2 when the file
// cannot be read.
'use strict';
const fs = require('fs');
const path = require('path');

const validator = require(process.argv[2]);
const file = process.argv[3];
const folder = path.dirname(file);

// Buffers and pictures the file names, read from beside it.
function readResource(uri) {
    return new Promise((resolve, reject) => {
        fs.readFile(path.join(folder, decodeURIComponent(uri)), (error, data) => {
            if (error) reject(error.toString());
            else resolve(new Uint8Array(data));
        });
    });
}

let bytes;
try {
    bytes = new Uint8Array(fs.readFileSync(file));
} catch (error) {
    console.log(error.toString());
    process.exit(2);
}

validator.validateBytes(bytes, {uri: path.basename(file), maxIssues: 100, externalResourceFunction: readResource})
    .then((report) => {
        const issues = report.issues;
        console.log(`errors: ${issues.numErrors} warnings: ${issues.numWarnings}`);
        for (const message of issues.messages)
            if (message.severity <= 1) console.log(`${message.code} ${message.pointer || ''}: ${message.message}`);
        process.exit(issues.numErrors + issues.numWarnings === 0 ? 0 : 1);
    })
    .catch((error) => {
        console.log(String(error));
        process.exit(2);
    });
