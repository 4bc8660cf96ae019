#!/usr/bin/env python3
"""Writes resources/Smart/Categories.txt, the smart finder's category table.

One entry a line, names separated by tabs, depth first. The tops, their subcategories,
the leaf counts per top and the first leaves of a few subcategories are fixed; every other
leaf name is made here from a few subjects per subcategory and the facets of its top.
Run it again after changing the lists below:  scripts/gen_smart_categories.py
"""
import os
import sys

# (top, leaf count, facets, [(subcategory, fixed first leaves, subjects)])
TABLE = [
    ("Books", 384, ["Books", "Guides", "Classics", "Anthologies", "Bestsellers", "Magazines", "Collections", "Reference"], [
        ("Arts & Photography", ["Architecture Books"], ["Architecture", "Photography", "Painting", "Sculpture", "Graphic Design", "Art History"]),
        ("Audiobooks", [], ["Audio Fiction", "Audio Mystery", "Spoken Poetry", "Radio Drama", "Audio Biography", "Audio Language"]),
        ("Bargain Books Outlet", [], ["Remaindered", "Used Paperback", "Out of Print", "Clearance Hardcover", "Discount Fiction", "Library Sale"]),
        ("Biographies & Memoirs", [], ["Presidential", "Royalty", "Explorers", "Scientists", "Artists Lives", "War Memoirs"]),
        ("Business & Investing", [], ["Management", "Stock Market", "Entrepreneurship", "Economics", "Leadership", "Real Estate Investing"]),
        ("Children's Books", [], ["Picture Book", "Fairy Tale", "Early Reader", "Bedtime Story", "Young Adult", "Nursery Rhyme"]),
        ("Christian Books", [], ["Bible Study", "Devotional", "Theology", "Christian Fiction", "Church History", "Prayer"]),
        ("Computers & Internet", [], ["Operating Systems", "Networking Books", "Database", "Web Development", "Computer Science", "Office Software"]),
        ("Cooking Food & Wine", [], ["Baking", "Vegetarian Cooking", "French Cuisine", "Italian Cuisine", "Wine Tasting", "Barbecue"]),
        ("e-Books", [], ["Electronic Fiction", "Electronic Textbook", "Free Ebook", "Ebook Reader", "Digital Classics", "Online Novel"]),
        ("Entertainment", [], ["Movie Book", "Television Book", "Puzzle", "Trivia", "Comic Book", "Humor Book"]),
        ("Gay & Lesbian", [], ["Gay Fiction", "Lesbian Fiction", "Gay History", "Coming Out", "Gay Poetry", "Gender Studies"]),
        ("Health Mind & Body", [], ["Fitness Book", "Diet Book", "Psychology", "Self Help", "Meditation", "Alternative Medicine"]),
        ("History", [], ["Ancient History", "Medieval History", "Military History", "American History", "European History", "World War"]),
        ("Home & Garden", [], ["Gardening Book", "Interior Design", "Home Repair", "Crafts", "Landscaping", "Antiques"]),
        ("Horror", [], ["Ghost Story", "Vampire", "Gothic", "Supernatural", "Zombie", "Horror Anthology"]),
        ("Programming", [], ["C++", "Java", "Perl", "Visual Basic", "Algorithms", "Software Engineering"]),
    ]),
    ("Computing", 260, ["Reviews", "Drivers", "Guides", "Forums", "Downloads", "Tutorials", "News", "Vendors"], [
        ("Computer Hardware", ["CD Burners", "CDR", "Computer Buses", "Computer Cables", "Computer Parts", "CPU Coolers",
                               "DVD Drives", "Flat Panel Displays", "Floppy Drives", "Graphics Cards", "Hard Drives",
                               "Keyboards", "Memory Modules", "Mice & Trackballs", "Modems", "Monitors", "Motherboards",
                               "Network Cards", "Power Supplies", "Printers", "Processors", "Scanners", "Sound Cards",
                               "Tape Backup"], []),
        ("Software", [], ["Antivirus", "Shareware", "Freeware", "Word Processor", "Spreadsheet", "Graphics Software"]),
        ("Computer Networking", [], ["LAN", "Wireless Network", "Router", "Firewall", "Network Security", "TCP IP"]),
        ("Computer Equipment", [], ["Laptop", "Desktop PC", "Handheld", "Server", "UPS", "Docking Station"]),
        ("Computer Games", [], ["Strategy Game", "Action Game", "Role Playing Game", "Flight Simulator", "Adventure Game", "Puzzle Game"]),
        ("Emulators", [], ["Arcade Emulator", "Console Emulator", "Amiga Emulator", "C64 Emulator", "Handheld Emulator", "Mac Emulator"]),
        ("Net Culture", [], ["Blogs", "Web Humor", "Netiquette", "Online Communities", "Internet History", "Cyberculture"]),
        ("Web Connecting", [], ["Dial Up", "DSL", "Cable Internet", "Satellite Internet", "ISDN", "Free ISP"]),
        ("Web Site Design", [], ["HTML", "CSS", "JavaScript", "Web Graphics", "Flash Animation", "Web Templates"]),
        ("Web Hosting", [], ["Shared Hosting", "Dedicated Server", "Domain Registration", "Free Hosting", "Ecommerce Hosting", "Colocation"]),
    ]),
    ("Education & Career", 172, ["Resources", "Courses", "Guides", "Directories", "Programs", "Tips", "Associations", "Publications"], [
        ("Job Search", [], ["Job Boards", "Job Listings", "Recruiters", "Internships", "Summer Jobs", "Government Jobs"]),
        ("Job Tool Kit", [], ["Resume Writing", "Cover Letters", "Job Interviews", "Salary Negotiation", "Networking Skills", "References"]),
        ("Careers", [], ["Nursing Careers", "Teaching Careers", "Engineering Careers", "Legal Careers", "Sales Careers", "Media Careers"]),
        ("Professional Growth", [], ["Time Management", "Public Speaking", "Mentoring", "Certification", "Continuing Education", "Business Writing"]),
        ("K-12", [], ["Homework Help", "Lesson Plans", "Homeschooling", "Elementary School", "High School", "School Supplies"]),
        ("College", [], ["College Admissions", "Campus Life", "Community Colleges", "Graduate School", "Study Abroad", "College Rankings"]),
        ("Education Financing", [], ["Scholarships", "Student Loans", "Financial Aid", "Grants", "Tuition Savings", "Work Study"]),
        ("Arts & Humanities", [], ["Philosophy", "Art Education", "Classics Studies", "Music Education", "Theater Studies", "Literature Studies"]),
        ("Language", [], ["English Grammar", "French Lessons", "Spanish Lessons", "German Lessons", "Sign Language", "Translation"]),
        ("Social Sciences", [], ["Sociology", "Anthropology", "Political Science", "Economics Education", "Geography", "Archaeology"]),
        ("Science", [], ["Physics", "Chemistry", "Biology", "Astronomy", "Mathematics", "Earth Science"]),
        ("Nature", [], ["Wildlife", "Botany", "Ecology", "Bird Watching", "Oceans", "Rainforests"]),
    ]),
    ("Entertainment", 224, ["Clubs", "Fan Sites", "News", "Guides", "Events", "Magazines", "Reviews", "Directories"], [
        ("Movies & TV", [], ["Movie Trailers", "Sitcoms", "Soap Operas", "Cartoons", "Documentaries", "Science Fiction Films"]),
        ("Radio", [], ["Talk Radio", "Internet Radio", "Radio Drama Shows", "Ham Radio", "College Radio", "Radio Stations"]),
        ("Celebrities", [], ["Actors", "Actresses", "Supermodels", "Directors", "Celebrity Gossip", "Celebrity Photos"]),
        ("Gambling", [], ["Casinos", "Poker", "Blackjack", "Lottery", "Horse Racing Betting", "Slot Machines"]),
        ("Hobbies", [], ["Model Railroads", "Coin Collecting", "Stamp Collecting", "Kites", "Magic Tricks", "Scrapbooking"]),
        ("Arts", [], ["Theater", "Ballet", "Opera", "Art Galleries", "Comedy Clubs", "Street Performers"]),
        ("Familly Attractions", [], ["Theme Parks", "Zoos", "Aquariums", "Water Parks", "Circus", "County Fairs"]),
        ("Humor", [], ["Jokes", "Cartoon Strips", "Funny Pictures", "Parodies", "Pranks", "Limericks"]),
    ]),
    ("Esoterism", 116, ["Theories", "Research", "Societies", "Legends", "Forums", "Stories", "Guides"], [
        ("UFO", [], ["UFO Sightings", "Roswell", "Alien Abduction", "Crop Circles", "Area 51"]),
        ("Astrology", [], ["Horoscopes", "Zodiac Signs", "Birth Charts", "Chinese Astrology", "Vedic Astrology"]),
        ("Numerology", [], ["Life Path Numbers", "Name Numerology", "Master Numbers", "Kabbalah Numbers", "Lucky Numbers"]),
        ("Reading", [], ["Tarot", "Palmistry", "Tea Leaf Reading", "Runes", "I Ching"]),
        ("Time Travel", [], ["Time Paradoxes", "Wormholes", "Time Machines", "Parallel Universes", "Time Slips"]),
        ("Mysterious Places", [], ["Bermuda Triangle", "Stonehenge", "Atlantis", "Easter Island", "Nazca Lines"]),
        ("Life & Death", [], ["Near Death Experiences", "Reincarnation", "Afterlife", "Ghosts", "Out of Body Experiences"]),
        ("Religions", [], ["Buddhism", "Hinduism", "Paganism", "Wicca", "Shamanism"]),
        ("Prophecies", [], ["Nostradamus", "Mayan Calendar", "Apocalypse", "Edgar Cayce", "Oracles"]),
    ]),
    ("Finance", 168, ["Advice", "Rates", "Calculators", "Guides", "Services", "News", "Tips"], [
        ("Auto Finance", [], ["Car Loans", "Auto Leasing", "Car Insurance Quotes", "Used Car Financing", "Auto Refinancing"]),
        ("Home Finance", [], ["Mortgages", "Home Equity Loans", "Refinancing", "Reverse Mortgages", "Closing Costs"]),
        ("Personal Finance", [], ["Budgeting", "Retirement Planning", "Tax Preparation", "Estate Planning", "Saving Money"]),
        ("Investing", [], ["Mutual Funds", "Stocks", "Bonds", "Online Brokers", "Options Trading"]),
        ("Insurance", [], ["Life Insurance", "Home Insurance", "Travel Insurance", "Pet Insurance", "Disability Insurance"]),
        ("Debt", [], ["Debt Consolidation", "Bankruptcy", "Credit Counseling", "Debt Collection", "Payday Loans"]),
        ("Credit Cards", [], ["Low Interest Cards", "Reward Cards", "Secured Cards", "Student Cards", "Business Cards"]),
        ("Small Business", [], ["Business Loans", "Business Plans", "Accounting", "Payroll", "Venture Capital"]),
        ("Marketing", [], ["Advertising", "Direct Mail", "Market Research", "Public Relations", "Branding"]),
    ]),
    ("Health", 250, ["Information", "Treatments", "Research", "Support Groups", "Clinics", "Guides", "News"], [
        ("Diet & Fitness", [], ["Weight Loss", "Aerobics", "Yoga", "Pilates", "Low Carb Diets"]),
        ("Nutrition", [], ["Vitamins", "Minerals", "Food Allergies", "Organic Food", "Healthy Recipes"]),
        ("Natural Therapies", [], ["Acupuncture", "Aromatherapy", "Herbal Medicine", "Homeopathy", "Massage Therapy"]),
        ("Drugs & Supplies", [], ["Online Pharmacies", "Generic Drugs", "Medical Supplies", "Hearing Aids", "Wheelchairs"]),
        ("Mens Health", [], ["Prostate Health", "Hair Loss", "Mens Fitness", "Testosterone", "Male Infertility"]),
        ("Womens Health", [], ["Pregnancy", "Menopause", "Breast Health", "Fertility", "Birth Control"]),
        ("Mental Health", [], ["Depression", "Anxiety", "Stress", "Bipolar Disorder", "Eating Disorders"]),
        ("Common Illnesses", [], ["Colds & Flu", "Headaches", "Allergies", "Back Pain", "Insomnia"]),
        ("Diseases", [], ["Diabetes", "Cancer", "Heart Disease", "Arthritis", "Asthma"]),
        ("Dental & Vision", [], ["Dentists", "Orthodontics", "Teeth Whitening", "Contact Lenses", "Laser Eye Surgery"]),
        ("Health Insurance", [], ["HMO", "Medicare", "Medicaid", "Dental Plans", "Vision Plans"]),
        ("Medical Specialities", [], ["Cardiology", "Dermatology", "Pediatrics", "Neurology", "Oncology"]),
    ]),
    ("Homelife", 197, ["Tips", "Ideas", "Services", "Guides", "Supplies", "Advice"], [
        ("Home Buying", [], ["Real Estate Agents", "Home Inspection", "First Time Buyers", "Open Houses", "New Homes"]),
        ("Moving & Storage", [], ["Movers", "Self Storage", "Packing", "Truck Rental", "Relocation"]),
        ("Renting", [], ["Apartments", "Roommates", "Tenant Rights", "Vacation Rentals", "Condos"]),
        ("Home Improvement", [], ["Plumbing", "Roofing", "Painting Walls", "Flooring", "Kitchen Remodeling"]),
        ("Home Decorating", [], ["Furniture", "Wallpaper", "Lighting", "Curtains", "Rugs"]),
        ("Gardening", [], ["Roses", "Vegetable Gardens", "Lawn Care", "Houseplants", "Bonsai"]),
        ("Relationships", [], ["Dating", "Marriage", "Divorce", "Friendship", "Online Dating"]),
        ("Family", [], ["Parenting", "Genealogy", "Adoption", "Grandparents", "Family Reunions"]),
        ("Pets", [], ["Dogs", "Cats", "Aquarium Fish", "Birds", "Reptiles"]),
        ("Wedding", [], ["Wedding Dresses", "Wedding Planning", "Honeymoons", "Wedding Cakes", "Invitations"]),
        ("Home Entertaining", [], ["Party Planning", "Cocktails", "Holiday Parties", "Table Settings", "Party Games"]),
        ("Cooking", [], ["Recipes", "Desserts", "Grilling", "Slow Cooking", "Ethnic Cooking"]),
    ]),
    ("Music", 246, ["Fan Sites", "News", "Reviews", "Archives", "Forums", "Resources", "Magazines"], [
        ("Artists & Bands", [], ["Rock Bands", "Pop Singers", "Jazz Musicians", "Blues Artists", "Country Singers"]),
        ("Awards", [], ["Grammy Awards", "Music Charts", "Gold Records", "Music Halls of Fame", "Song Contests"]),
        ("Concert Tickets", [], ["Rock Concerts", "Classical Concerts", "Ticket Brokers", "Tour Dates", "Box Offices"]),
        ("Festivals", [], ["Jazz Festivals", "Rock Festivals", "Folk Festivals", "Opera Festivals", "Blues Festivals"]),
        ("For Musicians", [], ["Guitar Tabs", "Sheet Music", "Music Lessons", "Recording Studios", "Musical Instruments"]),
        ("History", [], ["Classical Composers", "Early Jazz", "Rock History", "Baroque Music", "Folk Traditions"]),
        ("MP3", [], ["MP3 Players", "MP3 Search", "Free MP3", "MP3 Encoders", "MP3 Playlists"]),
        ("Industry", [], ["Record Labels", "Music Publishing", "Music Distribution", "Artist Management", "Music Law"]),
        ("News", [], ["Music Gossip", "New Releases", "Album Reviews", "Band Interviews", "Music Headlines"]),
        ("Online broadcasts", [], ["Webcasts", "Live Concerts Online", "Music Videos", "Streaming Audio", "Online DJs"]),
    ]),
    ("Reference", 238, ["Resources", "Archives", "Directories", "Databases", "Guides", "Publications"], [
        ("Lookup", [], ["Dictionaries", "Encyclopedias", "Phone Directories", "Maps", "Zip Codes"]),
        ("News", [], ["Newspapers", "News Agencies", "Press Releases", "Weather Reports", "News Magazines"]),
        ("Literature", [], ["Poetry", "Shakespeare", "Authors", "Literary Criticism", "Quotations"]),
        ("History", [], ["Historical Documents", "Biographies", "Historical Maps", "Timelines", "Civil War"]),
        ("Environement", [], ["Climate Change", "Recycling", "Pollution", "Endangered Species", "Renewable Energy"]),
        ("US Govt Agencies", [], ["FBI", "NASA", "Census Bureau", "IRS", "Federal Reserve"]),
        ("Government", [], ["Elections", "Congress", "Embassies", "Local Government", "Public Records"]),
        ("Crime & Punishment", [], ["Prisons", "Death Penalty", "Famous Trials", "Organized Crime", "Crime Statistics"]),
        ("Law & Justice", [], ["Lawyers", "Supreme Court", "Legal Forms", "Patents", "Human Rights"]),
        ("Religion", [], ["Christianity", "Judaism", "Islam", "Religious Texts", "Comparative Religion"]),
    ]),
    ("Shopping", 156, ["Stores", "Outlets", "Deals", "Catalogs", "Auctions"], [
        ("Computer", [], ["Computer Accessories", "Ink Cartridges", "Notebook Computers", "Computer Software"]),
        ("Toys & Hobbies", [], ["Action Figures", "Board Games", "Dolls", "Model Kits"]),
        ("Books", [], ["Rare Books", "Textbooks", "Audio Books", "Used Books"]),
        ("Gifts", [], ["Flowers", "Gift Baskets", "Greeting Cards", "Chocolates"]),
        ("Music/Video", [], ["CDs", "DVDs", "Videotapes", "Vinyl Records"]),
        ("Bath & Beauties", [], ["Cosmetics", "Perfumes", "Skin Care", "Hair Care"]),
        ("Sporting Goods", [], ["Golf Equipment", "Camping Gear", "Fishing Tackle", "Bicycles"]),
        ("Home & Garden", [], ["Garden Tools", "Kitchenware", "Bedding", "Patio Furniture"]),
        ("Auto", [], ["Car Parts", "Car Audio", "Tires", "Car Accessories"]),
        ("Apparel", [], ["Shoes", "Jeans", "Lingerie", "Watches"]),
        ("Food & Nutrition", [], ["Gourmet Food", "Coffee", "Tea", "Health Food"]),
    ]),
    ("Small Business Directory", 102, ["Providers", "Suppliers", "Consultants", "Directories", "Services"], [
        ("Business Services", [], ["Staffing", "Legal Services", "Translation Services", "Courier"]),
        ("Computer Products", [], ["Business Computers", "Network Equipment", "Business Software", "Backup Systems"]),
        ("Computer Services", [], ["IT Support", "Data Recovery", "Software Development", "Web Design"]),
        ("Financial Services", [], ["Bookkeeping", "Tax Services", "Merchant Accounts", "Business Insurance"]),
        ("Marketing", [], ["Trade Shows", "Promotional Products", "Telemarketing", "Email Marketing"]),
        ("Office Products", [], ["Office Furniture", "Office Supplies", "Copiers", "Fax Machines"]),
        ("Office Services", [], ["Printing", "Virtual Offices", "Cleaning Services", "Document Shredding"]),
    ]),
    ("Sports", 410, ["News", "Teams", "Stats", "Clubs", "Leagues", "Tickets", "Equipment", "Fan Sites", "Schools"], [
        ("American Football", [], ["NFL", "College Football", "Fantasy Football", "Super Bowl", "Arena Football"]),
        ("Baseball", [], ["Major League Baseball", "Minor League Baseball", "Little League", "Baseball Cards", "World Series"]),
        ("Basketball", [], ["NBA", "College Basketball", "WNBA", "Streetball", "Basketball Camps"]),
        ("Formula one Racing", [], ["Formula One Drivers", "Grand Prix", "Formula One Circuits", "Formula One Teams", "Racing Cars"]),
        ("Golf", [], ["Golf Courses", "PGA Tour", "Golf Lessons", "Golf Resorts", "Mini Golf"]),
        ("Goods & Services", [], ["Sports Memorabilia", "Sportswear", "Sports Medicine", "Trophies", "Sports Coaching"]),
        ("Handball", [], ["Team Handball", "Beach Handball", "Handball World Cup", "Wall Handball", "Handball Rules"]),
        ("Ice Hockey", [], ["NHL", "Junior Hockey", "Hockey Cards", "Stanley Cup", "Roller Hockey"]),
        ("Motor sports", [], ["NASCAR", "Rally Racing", "Motocross", "Drag Racing", "Karting"]),
        ("Outdoor recreation", [], ["Hiking", "Rock Climbing", "Kayaking", "Skiing", "Scuba Diving"]),
        ("Soccer", [], ["World Cup Soccer", "Premier League", "Youth Soccer", "MLS", "Indoor Soccer"]),
    ]),
    ("Transport", 282, ["Manufacturers", "Dealers", "Parts", "Clubs", "News", "Rentals", "Museums"], [
        ("Airplanes", [], ["Private Jets", "Vintage Aircraft", "Light Aircraft", "Airliners"]),
        ("Airports", [], ["International Airports", "Airport Parking", "Airport Shuttles", "Regional Airports"]),
        ("Balooning", [], ["Hot Air Balloons", "Balloon Rides", "Gas Balloons", "Balloon Festivals"]),
        ("Helicopter", [], ["Helicopter Tours", "Helicopter Training", "Rescue Helicopters", "Gyrocopters"]),
        ("Aviation Equipments", [], ["Avionics", "Flight Instruments", "Pilot Headsets", "Aircraft Engines"]),
        ("Cars", [], ["Sports Cars", "Classic Cars", "SUVs", "Electric Cars"]),
        ("Jobs", [], ["Pilot Jobs", "Trucking Jobs", "Railroad Jobs", "Flight Attendant Jobs"]),
        ("Motorcycles", [], ["Harley Davidson", "Scooters", "Dirt Bikes", "Touring Motorcycles"]),
        ("Shipping", [], ["Freight", "Container Shipping", "Package Delivery", "Customs Brokers"]),
        ("Trucks", [], ["Pickup Trucks", "Semi Trucks", "Monster Trucks", "Fire Trucks"]),
        ("Passengers Transportation", [], ["Railways", "Buses", "Ferries", "Taxis"]),
        ("Boats", [], ["Sailboats", "Yachts", "Canoes", "Fishing Boats"]),
    ]),
    ("Travel", 171, ["Deals", "Guides", "Reservations", "Tips", "Operators"], [
        ("Lodging", [], ["Hotels", "Bed & Breakfast", "Hostels", "Motels"]),
        ("Ground Transport", [], ["Car Rental", "Rail Passes", "Bus Tours", "Limousines"]),
        ("Air Travel", [], ["Cheap Flights", "Airlines", "Frequent Flyer", "Charter Flights"]),
        ("Cruise", [], ["Caribbean Cruises", "River Cruises", "Alaska Cruises", "Mediterranean Cruises"]),
        ("Family Travel", [], ["Family Resorts", "Travel with Kids", "Camping Trips", "Disney Vacations"]),
        ("Adventure Travel", [], ["Safaris", "Trekking", "Expeditions", "Eco Tourism"]),
        ("Sport Travel", [], ["Ski Resorts", "Golf Vacations", "Surf Trips", "Diving Trips"]),
        ("Special Trips", [], ["Honeymoon Trips", "Senior Travel", "Gay Travel", "Pilgrimages"]),
        ("Trip Planning", [], ["Passports", "Travel Insurance Plans", "Currency Exchange", "Travel Health"]),
        ("US Travel", [], ["California", "Florida", "New York", "Hawaii"]),
        ("World Travel", [], ["Europe", "Asia", "Africa", "South America"]),
    ]),
]

# Entries that are never shown: a subcategory whose top is missing with its leaves, and
# leaves written with a tab after their name.
ORPHAN_TOP, ORPHAN_SUB = "Collecting", "Stamps"
ORPHAN_LEAVES = ["Airmail Stamps", "Stamp Albums", "First Day Covers", "Postmarks", "Stamp Auctions", "Rare Stamps",
                 "Stamp Catalogues", "Postal History", "Thematic Stamps", "Stamp Dealers", "Stamp Hinges",
                 "Stamp Exhibitions", "Postage Meters", "Cinderella Stamps"]
TRAILING_TAB = [("Sports", "Golf", "Golf Carts"), ("Travel", "World Travel", "Antarctica"),
                ("Music", "MP3", "MP3 Ripping")]


def cache_key(name):
    return name.strip().replace(" ", "+").lower()


def main():
    out, seen, authored_from = [], set(), None
    for top, count, facets, subs in TABLE:
        out.append(top)
        base, extra = divmod(count - sum(len(f) for _, f, s in subs if not s), sum(1 for _, f, s in subs if s))
        made = 0
        for i, (sub, fixed, subjects) in enumerate(subs):
            out.append(top + "\t" + sub)
            leaves = list(fixed)
            for leaf in fixed:
                seen.add(cache_key(leaf))
            if subjects:
                want = base + (1 if sum(1 for _, f, s in subs[:i] if s) < extra else 0)
                authored = []
                for facet in facets:
                    for subject in subjects:
                        name = subject + " " + facet
                        if len(leaves) + len(authored) >= want:
                            break
                        if cache_key(name) in seen:
                            continue
                        seen.add(cache_key(name))
                        authored.append(name)
                if len(leaves) + len(authored) < want:
                    sys.exit("not enough leaf names for %s / %s" % (top, sub))
                leaves += sorted(authored)
            made += len(leaves)
            for leaf in leaves:
                out.append(top + "\t" + sub + "\t" + leaf)
            for t, s, leaf in TRAILING_TAB:
                if (t, s) == (top, sub):
                    out.append(top + "\t" + sub + "\t" + leaf + "\t")
        if made != count:
            sys.exit("%s has %d leaves, wants %d" % (top, made, count))
    out.append(ORPHAN_TOP + "\t" + ORPHAN_SUB)
    out += [ORPHAN_TOP + "\t" + ORPHAN_SUB + "\t" + leaf for leaf in ORPHAN_LEAVES]
    if len(out) != 3570:
        sys.exit("%d entries, wants 3570" % len(out))
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = os.path.join(root, "resources", "Smart", "Categories.txt")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="\n") as f:
        f.write("# The smart finder's category table: one entry a line, names separated by tabs.\n")
        f.write("# Made by scripts/gen_smart_categories.py; edit the lists there, not this file.\n")
        f.write("# The tops and subcategories, the leaf counts, \"Architecture Books\" and the 24 leaves of\n")
        f.write("# Computing / Computer Hardware are fixed. The authored leaf names start with the fourth\n")
        f.write("# entry (Books / Arts & Photography / Architecture Anthologies): from there on every leaf but\n")
        f.write("# those 24 is a subject of its subcategory and a facet of its top, made by the script.\n")
        f.write("# The last 15 entries (Collecting / Stamps) and the three leaves ending with a tab are never\n")
        f.write("# shown. Lines starting with \"#\" are notes.\n")
        for entry in out:
            f.write(entry + "\n")


if __name__ == "__main__":
    main()
