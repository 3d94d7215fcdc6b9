#!/usr/bin/env python3
"""Writes reports as DOS accounting and warehouse programs print them, in
UTF-8, for measuring how well the program tells a report's code page: stock
lists, invoices and ledgers in eleven languages, with a frame of single,
double or mixed lines or without one, each of at least a given number of
letters. The words are this script's own; the program's letter statistics
come from elsewhere (scripts/make_letter_statistics.py).

Each report is one file, FOLDER/LANGUAGE-FRAME-LETTERS-NUMBER.txt, lines
ended by CR LF. The measurement (tests/engine/code_page_guess_accuracy_test.cpp)
writes each into every code page that holds all its characters.

Usage: make_code_page_reports.py FOLDER [REPORTS_PER_KIND [SEED]]
"""
import os
import random
import sys
import unicodedata

LETTER_COUNTS = (200, 500, 2000)
FRAMES = ("none", "single", "double", "mixed")

WORDS = {
    "bg": {
        "companies": ["СКЛАД \"ЗОРА\" ЕООД, гр. Пловдив", "Търговска къща \"Балкан\" АД, София",
                      "ЗП Иван Петров, с. Брестник"],
        "titles": ["СПРАВКА ЗА НАЛИЧНОСТИТЕ", "Фактура за продажба", "ОБОРОТНА ВЕДОМОСТ",
                   "Опис на стоките в магазина"],
        "columns": ["№", "Наименование", "Мярка", "Количество", "Стойност"],
        "items": ["Брашно тип 500", "Захар кристална", "Олио слънчогледово", "Ориз дълъг",
                  "Сол йодирана", "Мая прясна", "Оцет винен", "Чай липов", "Кафе мляно",
                  "Сирене краве", "Кашкавал витоша", "Масло краве", "Мляко прясно",
                  "Яйца пресни", "Шоколад млечен", "Бисквити с мед", "Хляб пълнозърнест",
                  "Леща зелена", "Боб зрял", "Вафли с фъстъци", "Пипер червен", "Юфка домашна"],
        "units": ["кг", "л", "бр", "кут", "пак"],
        "total": "ОБЩО ЗА СКЛАДА",
        "page": "Стр.",
        "date": "Дата",
        "notes": ["Стоките се приемат по количество и качество.",
                  "Плащането се извършва в брой или по банков път до края на месеца.",
                  "Съставил справката: главен счетоводител Мария Георгиева.",
                  "Цените са с включен данък върху добавената стойност.",
                  "Забележка: липсите се отчитат в края на всяко тримесечие."],
    },
    "ru": {
        "companies": ["ООО \"Северный склад\", г. Вологда", "АО \"Торговый дом Волга\", Самара",
                      "ИП Смирнов Алексей Юрьевич, г. Тверь"],
        "titles": ["ВЕДОМОСТЬ ОСТАТКОВ ТОВАРОВ", "Счёт-фактура", "ОБОРОТНАЯ ВЕДОМОСТЬ",
                   "Опись товаров на складе"],
        "columns": ["№", "Наименование", "Ед.", "Количество", "Сумма"],
        "items": ["Мука пшеничная", "Сахар-песок", "Масло подсолнечное", "Рис круглый",
                  "Соль поваренная", "Дрожжи прессованные", "Уксус столовый", "Чай чёрный",
                  "Кофе молотый", "Сыр российский", "Масло сливочное", "Молоко пастеризованное",
                  "Яйцо куриное", "Шоколад горький", "Печенье овсяное", "Хлеб ржаной",
                  "Гречка ядрица", "Фасоль белая", "Крупа манная", "Перец чёрный",
                  "Вермишель яичная", "Щавель свежий"],
        "units": ["кг", "л", "шт", "уп", "пач"],
        "total": "ИТОГО ПО СКЛАДУ",
        "page": "Стр.",
        "date": "Дата",
        "notes": ["Товар принят по количеству и качеству без замечаний.",
                  "Оплата производится наличными или безналичным переводом.",
                  "Ведомость составил старший кладовщик Петров И. С.",
                  "Цены указаны с учётом налога на добавленную стоимость.",
                  "Примечание: недостача списывается в конце квартала."],
    },
    "uk": {
        "companies": ["ТОВ \"Південний склад\", м. Одеса", "ПП Коваленко Ігор, м. Житомир",
                      "АТ \"Торговельний дім Дніпро\", Київ"],
        "titles": ["ВІДОМІСТЬ ЗАЛИШКІВ ТОВАРІВ", "Рахунок-фактура", "ОБОРОТНА ВІДОМІСТЬ",
                   "Опис товарів на складі"],
        "columns": ["№", "Найменування", "Од.", "Кількість", "Сума"],
        "items": ["Борошно пшеничне", "Цукор білий", "Олія соняшникова", "Рис круглий",
                  "Сіль кухонна", "Дріжджі пресовані", "Оцет столовий", "Чай зелений",
                  "Кава мелена", "Сир твердий", "Масло вершкове", "Молоко пастеризоване",
                  "Яйця курячі", "Шоколад чорний", "Печиво вівсяне", "Хліб житній",
                  "Гречка ядриця", "Квасоля біла", "Крупа ячна", "Перець духмяний",
                  "Їжак іграшковий", "Ґудзики металеві"],
        "units": ["кг", "л", "шт", "уп", "пач"],
        "total": "РАЗОМ ПО СКЛАДУ",
        "page": "Стор.",
        "date": "Дата",
        "notes": ["Товар прийнято за кількістю та якістю без зауважень.",
                  "Оплата здійснюється готівкою або безготівковим переказом.",
                  "Відомість склав комірник Іван Шевчук.",
                  "Ціни вказано з урахуванням податку на додану вартість.",
                  "Примітка: нестача списується наприкінці кварталу, як є."],
    },
    "sr": {
        "companies": ["Магацин \"Морава\" д.о.о., Ниш", "Трговинска кућа \"Дунав\", Београд",
                      "Задруга \"Љубовија\", Ваљево"],
        "titles": ["ПРЕГЛЕД ЗАЛИХА РОБЕ", "Рачун-отпремница", "КЊИГА ПРОМЕТА",
                   "Попис робе у магацину"],
        "columns": ["Бр.", "Назив", "Јед.", "Количина", "Износ"],
        "items": ["Брашно тип 500", "Шећер кристал", "Уље сунцокретово", "Пиринач дуги",
                  "Со кухињска", "Квасац свежи", "Сирће винско", "Чај од нане", "Кафа млевена",
                  "Сир бели", "Качкаваљ", "Млеко свеже", "Јаја свежа", "Чоколада млечна",
                  "Кекс са медом", "Хлеб ражани", "Пасуљ бели", "Ђубриво за цвеће",
                  "Џем од шљива", "Ћуреће месо", "Књига рачуна", "Жито пшеница"],
        "units": ["кг", "л", "ком", "пак", "кут"],
        "total": "УКУПНО ЗА МАГАЦИН",
        "page": "Стр.",
        "date": "Датум",
        "notes": ["Роба је примљена по количини и квалитету.",
                  "Плаћање се врши готовином или преко рачуна до краја месеца.",
                  "Преглед је саставио главни књиговођа Ђорђе Јовановић.",
                  "Цене су исказане са порезом на додату вредност.",
                  "Напомена: мањкови се књиже на крају тромесечја."],
    },
    "sr-latn": {
        "companies": ["Magacin \"Morava\" d.o.o., Niš", "Trgovinska kuća \"Dunav\", Beograd",
                      "Zadruga \"Ljubovija\", Valjevo"],
        "titles": ["PREGLED ZALIHA ROBE", "Račun-otpremnica", "KNJIGA PROMETA",
                   "Popis robe u magacinu"],
        "columns": ["Br.", "Naziv", "Jed.", "Količina", "Iznos"],
        "items": ["Brašno tip 500", "Šećer kristal", "Ulje suncokretovo", "Pirinač dugi",
                  "So kuhinjska", "Kvasac sveži", "Sirće vinsko", "Čaj od nane", "Kafa mlevena",
                  "Sir beli", "Kačkavalj", "Mleko sveže", "Jaja sveža", "Čokolada mlečna",
                  "Keks sa medom", "Hleb ražani", "Pasulj beli", "Đubrivo za cveće",
                  "Džem od šljiva", "Ćureće meso", "Knjiga računa", "Žito pšenica"],
        "units": ["kg", "l", "kom", "pak", "kut"],
        "total": "UKUPNO ZA MAGACIN",
        "page": "Str.",
        "date": "Datum",
        "notes": ["Roba je primljena po količini i kvalitetu.",
                  "Plaćanje se vrši gotovinom ili preko računa do kraja meseca.",
                  "Pregled je sastavio glavni knjigovođa Đorđe Jovanović.",
                  "Cene su iskazane sa porezom na dodatu vrednost.",
                  "Napomena: manjkovi se knjiže na kraju tromesečja."],
    },
    "de": {
        "companies": ["Großhandel Müller & Söhne GmbH, Köln", "Lager Nord KG, Lübeck",
                      "Bäckerei Schäfer, Würzburg"],
        "titles": ["BESTANDSLISTE DES LAGERS", "Rechnung", "UMSATZÜBERSICHT",
                   "Inventur der Warengruppen"],
        "columns": ["Nr.", "Bezeichnung", "Einh.", "Menge", "Betrag"],
        "items": ["Weizenmehl Typ 405", "Zucker fein", "Sonnenblumenöl", "Langkornreis",
                  "Jodsalz", "Frischhefe", "Weinessig", "Kräutertee", "Röstkaffee gemahlen",
                  "Käse Gouda", "Süßrahmbutter", "Vollmilch frisch", "Eier Größe M",
                  "Schokolade Vollmilch", "Haferkekse", "Roggenbrot", "Grüne Linsen",
                  "Weiße Bohnen", "Wärmeschutzglas", "Außenseite Blech", "Schrauben verzinkt",
                  "Dübel für Beton"],
        "units": ["kg", "l", "Stk", "Pak", "Kart"],
        "total": "SUMME LAGER",
        "page": "Seite",
        "date": "Datum",
        "notes": ["Die Ware wurde nach Menge und Qualität geprüft und für gut befunden.",
                  "Zahlbar innerhalb von vierzehn Tagen ohne Abzug.",
                  "Erstellt von der Buchhaltung, Frau Jäger.",
                  "Alle Preise verstehen sich zuzüglich der gesetzlichen Mehrwertsteuer.",
                  "Hinweis: Fehlmengen werden am Ende des Quartals ausgebucht."],
    },
    "fr": {
        "companies": ["Société Dupré et Fils, Lyon", "Entrepôt du Midi SARL, Marseille",
                      "Boulangerie Lefèvre, Nîmes"],
        "titles": ["ETAT DES STOCKS", "Facture", "Relevé des opérations du mois",
                   "Inventaire du dépôt"],
        "columns": ["No", "Désignation", "Unité", "Quantité", "Montant"],
        "items": ["Farine de blé", "Sucre en poudre", "Huile de tournesol", "Riz long grain",
                  "Sel fin iodé", "Levure fraîche", "Vinaigre de vin", "Thé à la menthe",
                  "Café moulu", "Fromage râpé", "Beurre doux", "Lait entier", "Oeufs frais",
                  "Chocolat au lait", "Biscuits au miel", "Pain complet", "Lentilles vertes",
                  "Haricots secs", "Pâtes fraîches", "Crème fraîche", "Pêches au sirop",
                  "Côtes de porc"],
        "units": ["kg", "l", "pce", "bte", "pqt"],
        "total": "TOTAL DU DEPOT",
        "page": "Page",
        "date": "Date",
        "notes": ["La marchandise a été reçue en quantité et qualité conformes.",
                  "Paiement à trente jours fin de mois, par chèque ou virement.",
                  "Etabli par le service comptable, Mme Bérénice Garçon.",
                  "Les prix s'entendent hors taxe sur la valeur ajoutée.",
                  "Remarque : les écarts sont régularisés à la fin du trimestre."],
    },
    "es": {
        "companies": ["Almacenes García Hermanos, S.A., Sevilla", "Distribuidora del Norte, León",
                      "Panadería Muñoz, Córdoba"],
        "titles": ["EXISTENCIAS EN ALMACEN", "Factura", "Resumen de operaciones del mes",
                   "Inventario del depósito"],
        "columns": ["No", "Descripción", "Unidad", "Cantidad", "Importe"],
        "items": ["Harina de trigo", "Azúcar blanco", "Aceite de girasol", "Arroz largo",
                  "Sal yodada", "Levadura fresca", "Vinagre de vino", "Té de manzanilla",
                  "Café molido", "Queso manchego", "Mantequilla", "Leche entera",
                  "Huevos frescos", "Chocolate con leche", "Galletas de miel", "Pan integral",
                  "Lentejas pardinas", "Garbanzos", "Jamón serrano", "Piñones",
                  "Aceitunas aliñadas", "Atún en aceite"],
        "units": ["kg", "l", "ud", "caja", "paq"],
        "total": "TOTAL ALMACEN",
        "page": "Pág.",
        "date": "Fecha",
        "notes": ["La mercancía se recibió conforme en cantidad y calidad.",
                  "¿Dudas sobre la factura? Llame a nuestra oficina de lunes a viernes.",
                  "Elaborado por el departamento de contabilidad, Sra. Núñez.",
                  "Los precios no incluyen el impuesto sobre el valor añadido.",
                  "¡Atención! Las diferencias se regularizan al final del trimestre."],
    },
    "cs": {
        "companies": ["Velkoobchod Dvořák a syn s.r.o., Brno", "Sklad Jih a.s., České Budějovice",
                      "Pekařství Růžička, Plzeň"],
        "titles": ["PŘEHLED ZÁSOB NA SKLADĚ", "Faktura - daňový doklad", "OBRATOVÁ PŘEDVAHA",
                   "Inventura zboží v prodejně"],
        "columns": ["Č.", "Název zboží", "Jedn.", "Množství", "Částka"],
        "items": ["Mouka hladká", "Cukr krystal", "Olej slunečnicový", "Rýže dlouhozrnná",
                  "Sůl jodidovaná", "Droždí čerstvé", "Ocet kvasný", "Čaj ovocný",
                  "Káva mletá", "Sýr eidam", "Máslo čerstvé", "Mléko polotučné",
                  "Vejce slepičí", "Čokoláda hořká", "Sušenky s medem", "Chléb žitný",
                  "Čočka zelená", "Fazole bílé", "Těstoviny vaječné", "Šunka dušená",
                  "Řízky vepřové", "Ďábelské koření"],
        "units": ["kg", "l", "ks", "bal", "krab"],
        "total": "CELKEM ZA SKLAD",
        "page": "Str.",
        "date": "Datum",
        "notes": ["Zboží bylo převzato v množství a jakosti podle objednávky.",
                  "Splatnost faktury je čtrnáct dní od data vystavení.",
                  "Vyhotovila účetní Věra Šťastná.",
                  "Ceny jsou uvedeny včetně daně z přidané hodnoty.",
                  "Poznámka: manka se účtují na konci čtvrtletí."],
    },
    "pl": {
        "companies": ["Hurtownia Kowalski i Wspólnicy Sp. z o.o., Łódź",
                      "Magazyn Północ S.A., Gdańsk", "Piekarnia Żółkiewski, Kraków"],
        "titles": ["ZESTAWIENIE STANÓW MAGAZYNOWYCH", "Faktura VAT", "ZESTAWIENIE OBROTÓW",
                   "Spis z natury towarów"],
        "columns": ["Lp.", "Nazwa towaru", "J.m.", "Ilość", "Wartość"],
        "items": ["Mąka pszenna", "Cukier biały", "Olej słonecznikowy", "Ryż długoziarnisty",
                  "Sól jodowana", "Drożdże świeże", "Ocet spirytusowy", "Herbata czarna",
                  "Kawa mielona", "Ser żółty", "Masło ekstra", "Mleko świeże", "Jaja kurze",
                  "Czekolada gorzka", "Ciastka z miodem", "Chleb żytni", "Soczewica zielona",
                  "Fasola biała", "Kasza gryczana", "Śledzie w oleju", "Źródlana woda",
                  "Łosoś wędzony"],
        "units": ["kg", "l", "szt", "op", "karton"],
        "total": "RAZEM MAGAZYN",
        "page": "Str.",
        "date": "Data",
        "notes": ["Towar przyjęto zgodnie z ilością i jakością podaną w zamówieniu.",
                  "Zapłata przelewem w terminie czternastu dni od daty wystawienia.",
                  "Sporządziła księgowa Małgorzata Wiśniewska.",
                  "Ceny zawierają podatek od towarów i usług.",
                  "Uwaga: niedobory rozlicza się na koniec kwartału."],
    },
    "en": {
        "companies": ["Northern Wholesale Ltd., Leeds", "Harbour Stores Inc., Boston",
                      "Smith & Sons Bakery, Bristol"],
        "titles": ["STOCK ON HAND REPORT", "Invoice", "MONTHLY LEDGER SUMMARY",
                   "Warehouse inventory count"],
        "columns": ["No", "Description", "Unit", "Quantity", "Amount"],
        "items": ["Wheat flour", "White sugar", "Sunflower oil", "Long grain rice",
                  "Iodised salt", "Fresh yeast", "Wine vinegar", "Black tea", "Ground coffee",
                  "Cheddar cheese", "Salted butter", "Whole milk", "Fresh eggs", "Milk chocolate",
                  "Honey biscuits", "Rye bread", "Green lentils", "Baked beans", "Tinned tuna",
                  "Tomato paste", "Porridge oats", "Strawberry jam"],
        "units": ["kg", "l", "pcs", "box", "pack"],
        "total": "WAREHOUSE TOTAL",
        "page": "Page",
        "date": "Date",
        "notes": ["Goods received in full quantity and in good condition.",
                  "Payment is due within thirty days of the invoice date.",
                  "Prepared by the accounts department, Mrs. Jane Walker.",
                  "All prices exclude value added tax unless stated otherwise.",
                  "Note: shortages are written off at the end of each quarter."],
    },
}

# Frame characters: corners, joints and lines of the outer frame and the
# inner lines. "mixed" is a double frame with single lines inside.
FRAME_SHAPES = {
    "single": dict(tl="┌", tm="┬", tr="┐", ml="├", mm="┼", mr="┤", bl="└", bm="┴", br="┘",
                   h="─", v="│", ih="─", iv="│"),
    "double": dict(tl="╔", tm="╦", tr="╗", ml="╠", mm="╬", mr="╣", bl="╚", bm="╩", br="╝",
                   h="═", v="║", ih="═", iv="║"),
    "mixed": dict(tl="╔", tm="╤", tr="╗", ml="╟", mm="┼", mr="╢", bl="╚", bm="╧", br="╝",
                  h="═", v="║", ih="─", iv="│"),
}
WIDTHS = (4, 30, 6, 12, 12)


def letters_in(text):
    return sum(1 for c in text if c.isalpha())


def plain_capitals(text):
    """Upper case as a DOS keyboard typed it: no accent on a capital."""
    decomposed = unicodedata.normalize("NFD", text.upper())
    return "".join(c for c in decomposed if not unicodedata.combining(c))


def cells(values):
    texts = []
    for index, (value, width) in enumerate(zip(values, WIDTHS)):
        text = str(value)[:width]
        texts.append(text.rjust(width) if index in (0, 3, 4) else text.ljust(width))
    return texts


def rule(shape, left, middle, right, line):
    return shape[left] + shape[middle].join(shape[line] * (w + 2) for w in WIDTHS) + shape[right]


def row(shape, values, inner):
    bar = shape["iv"] if inner else shape["v"]
    return shape["v"] + bar.join(f" {text} " for text in cells(values)) + shape["v"]


def table_lines(frame, words, rows, total):
    header = words["columns"]
    if frame == "none":
        lines = ["  ".join(cells(header)), "-" * (sum(WIDTHS) + 2 * (len(WIDTHS) - 1))]
        lines += ["  ".join(cells(values)) for values in rows]
        lines.append("  ".join(cells(["", words["total"], "", "", f"{total:.2f}"])))
        return lines
    shape = FRAME_SHAPES[frame]
    lines = [rule(shape, "tl", "tm", "tr", "h"), row(shape, header, True),
             rule(shape, "ml", "mm", "mr", "ih")]
    lines += [row(shape, values, True) for values in rows]
    lines.append(rule(shape, "ml", "mm", "mr", "ih"))
    lines.append(row(shape, ["", words["total"], "", "", f"{total:.2f}"], True))
    lines.append(rule(shape, "bl", "bm", "br", "h"))
    return lines


def report(language, frame, letters, rng):
    words = WORDS[language]
    title = rng.choice(words["titles"])
    if language in ("fr", "es") and title.isupper():
        title = plain_capitals(title)
    head = [rng.choice(words["companies"]),
            f"{title}   {words['date']}: {rng.randint(1, 28):02d}.{rng.randint(1, 12):02d}.1996"
            f"   {words['page']} 1", ""]
    notes = rng.sample(words["notes"], 2)
    rows, total = [], 0.0
    while True:
        quantity = rng.randint(1, 5000) / 4
        value = quantity * rng.randint(20, 900) / 100
        total += value
        rows.append([len(rows) + 1, rng.choice(words["items"]), rng.choice(words["units"]),
                     f"{quantity:.3f}", f"{value:.2f}"])
        lines = head + table_lines(frame, words, rows, total) + [""] + notes
        if letters_in("\n".join(lines)) >= letters:
            return "\r\n".join(lines) + "\r\n"


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    folder = argv[1]
    per_kind = int(argv[2]) if len(argv) > 2 else 10
    rng = random.Random(int(argv[3]) if len(argv) > 3 else 1996)
    os.makedirs(folder, exist_ok=True)
    for language in WORDS:
        for frame in FRAMES:
            for letters in LETTER_COUNTS:
                for number in range(1, per_kind + 1):
                    name = f"{language}-{frame}-{letters}-{number}.txt"
                    with open(os.path.join(folder, name), "w", encoding="utf-8",
                              newline="") as out:
                        out.write(report(language, frame, letters, rng))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
