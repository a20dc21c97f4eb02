#pragma once
// The printed text of the algorithm window's two tables: a title, the subtitle and the grid rows,
// each cell padded with blanks to its column's width and followed by tabs where the narrow ones
// would break the word processor's tab columns.

#include <QString>
#include <QStringList>
#include <vector>

// The device title of both tables in the document print-out.
inline const QString kAlgTablesDevicePrefix = QStringLiteral("ВЕГ-17-Р  ");

// The block table: rows are the grid's rows from its two heading rows on, seven cells each.
QStringList BlockTableLines(const QString& title, const QString& subtitle,
                            const std::vector<QStringList>& rows);

// The algorithm table: rows are the grid's rows from its two heading rows on, three cells each.
QStringList AlgorithmTableLines(const QString& title, const QString& subtitle,
                                const std::vector<QStringList>& rows);
